#pragma once
// Looks for a typed password in stored bytes, also under the simple
// encodings a careless store might use: reversed, upper and lower case,
// Base64, hexadecimal, and unsalted MD5, SHA-1 and SHA-256 in hexadecimal.
#include <QByteArray>
#include <QCryptographicHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumo::test
{

inline QList<QByteArray> passwordForms(const QString& password)
{
    const QByteArray utf8 = password.toUtf8();
    QByteArray reversed = utf8;
    std::reverse(reversed.begin(), reversed.end());
    QList<QByteArray> forms{utf8,
                            reversed,
                            password.toUpper().toUtf8(),
                            password.toLower().toUtf8(),
                            utf8.toBase64(),
                            utf8.toBase64(QByteArray::OmitTrailingEquals),
                            utf8.toHex(),
                            utf8.toHex().toUpper()};
    for (auto algorithm :
         {QCryptographicHash::Md5, QCryptographicHash::Sha1, QCryptographicHash::Sha256})
        forms << QCryptographicHash::hash(utf8, algorithm).toHex();
    // The password in UTF-16, as a wide-character store would keep it.
    forms << QByteArray(reinterpret_cast<const char*>(password.utf16()),
                        password.size() * int(sizeof(char16_t)));
    return forms;
}

// The first of `passwords` found in `bytes` under any form, or an empty
// text.
inline QString findPassword(const QByteArray& bytes, const QStringList& passwords)
{
    for (const QString& password : passwords)
        for (const QByteArray& form : passwordForms(password))
            if (bytes.contains(form))
                return password;
    return {};
}

} // namespace lumo::test
