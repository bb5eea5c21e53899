#pragma once
// Gives a control its designer name as objectName, so tests and other
// windows find it: `Edit1 = named(new QLineEdit(panel), "Edit1");`.
#include <QObject>
#include <QString>

namespace lumo
{

template <typename T> T* named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace lumo
