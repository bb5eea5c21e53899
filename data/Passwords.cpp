#include "Passwords.h"

#include "DataError.h"
#include "Dataset.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <sodium.h>

namespace lumo
{

namespace
{

// About 30 ms for one verification on an ordinary desktop: slow enough to
// make guessing dear, quick enough for a scan of a few users.
constexpr unsigned long long kOpsLimit = 3;
constexpr size_t kMemLimit = size_t(16) << 20;

const QString kPasswordField = QStringLiteral("密码");
const QString kLevelField = QStringLiteral("用户");

void initSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw DataError(QStringLiteral("密码库 libsodium 无法初始化。"));
}

bool needsRehash(const QString& stored)
{
    if (!isPasswordHash(stored))
        return true;
    const QByteArray text = stored.toLatin1();
    return crypto_pwhash_str_needs_rehash(text.constData(), kOpsLimit, kMemLimit) != 0;
}

// Text replaced on the users' connection is overwritten on disk, not just
// freed, so a plain-text password does not live on in the file's free space
// (the exchange file carries the whole file).
void eraseFreedSpace(const Dataset& ma)
{
    QSqlQuery(QSqlDatabase::database(ma.connectionName(), false))
        .exec(QStringLiteral("PRAGMA secure_delete = ON"));
}

// Writes the hash of `typed` into the current row; a register that cannot
// be written keeps the old text and the user goes on.
void storeHash(Dataset& ma, const QString& typed)
{
    eraseFreedSpace(ma);
    try {
        ma.edit();
        ma.setValue(kPasswordField, hashPassword(typed));
        ma.post();
    } catch (const DataError&) {
        ma.cancel();
    }
}

} // namespace

QString hashPassword(const QString& password)
{
    initSodium();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          kOpsLimit, kMemLimit) != 0)
        throw DataError(QStringLiteral("内存不足，无法计算密码的散列值。"));
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

bool verifyPassword(const QVariant& stored, const QString& typed)
{
    if (stored.isNull())
        return false;
    const QString text = stored.toString();
    if (!isPasswordHash(text))
        return text == typed;
    initSodium();
    const QByteArray hash = text.toLatin1();
    const QByteArray bytes = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
}

bool findUser(Dataset& ma, const QString& typed, const QString& level, bool anyLevel)
{
    for (ma.first(); !ma.eof(); ma.next()) {
        if (!anyLevel) {
            const QVariant user = ma.value(kLevelField);
            if (user.isNull() || user.toString() != level)
                continue;
        }
        const QVariant stored = ma.value(kPasswordField);
        if (!verifyPassword(stored, typed))
            continue;
        if (needsRehash(stored.toString()))
            storeHash(ma, typed);
        return true;
    }
    return false;
}

void hashPlainPasswords(Dataset& ma)
{
    const int current = ma.recNo();
    eraseFreedSpace(ma);
    for (ma.first(); !ma.eof(); ma.next()) {
        const QVariant stored = ma.value(kPasswordField);
        if (stored.isNull() || isPasswordHash(stored.toString()))
            continue;
        try {
            ma.edit();
            ma.setValue(kPasswordField, hashPassword(stored.toString()));
            ma.post();
        } catch (const DataError&) {
            ma.cancel();
            throw;
        }
    }
    if (current >= 0)
        ma.moveTo(current);
}

} // namespace lumo
