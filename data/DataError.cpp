#include "DataError.h"

namespace lumo
{

DataError::DataError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}

} // namespace lumo
