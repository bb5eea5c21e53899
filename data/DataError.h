#pragma once
#include <QString>
#include <stdexcept>

namespace lumo
{

// An error raised by the database or the settings store. Windows catch it at
// the handler that started the operation and show its text.
class DataError : public std::runtime_error
{
public:
    explicit DataError(const QString& text);
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace lumo
