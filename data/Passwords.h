#pragma once
// Passwords of the users table ma. A stored 密码 is the salted Argon2id hash
// of the password in libsodium's text form ("$argon2id$v=19$m=…,t=…,p=1$…"),
// which carries its own parameters, so they can be raised later. A register
// of an earlier version may still hold plain text: such a row is accepted by
// exact comparison and replaced by its hash when it is accepted.
#include <QString>
#include <QVariant>

namespace lumo
{

class Dataset;

// The text stored for a password.
QString hashPassword(const QString& password);
// True when `stored` is a hash (not plain text from an earlier version).
bool isPasswordHash(const QString& stored);
// Whether `typed` is the password stored in `stored`: a hash is verified,
// plain text compared exactly (case-sensitive). A null field matches
// nothing. Every comparison of a typed password goes through here.
bool verifyPassword(const QVariant& stored, const QString& typed);

// The scan of the users table shared by the login, the owner details and
// the settings window: from the first row in table order, the first row
// whose 用户 equals `level` (unless `anyLevel`) and whose 密码 verifies
// against `typed`. That row is left current and its plain-text (or weaker)
// 密码 is replaced by its hash at once; without a match the scan ends past
// the last row. Throws DataError when the table cannot be read.
bool findUser(Dataset& ma, const QString& typed, const QString& level = QString(),
              bool anyLevel = false);

// Replaces every plain-text 密码 of the users table by its hash; the
// current row stays current. Throws DataError.
void hashPlainPasswords(Dataset& ma);

} // namespace lumo
