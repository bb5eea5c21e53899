#include "DesignFonts.h"

#include <QFont>
#include <QFontDatabase>

namespace lumo
{

namespace
{

// Families close to the design font first: serif (Song) faces, then the
// common sans faces of Linux distributions.
const char* const kPreferred[] = {
    "Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN",
    "AR PL SungtiL GB",  "Noto Sans CJK SC",    "Source Han Sans SC",
    "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Droid Sans Fallback",
};

} // namespace

QStringList substituteDesignFonts()
{
    const QStringList installed = QFontDatabase::families();
    QStringList chosen;
    for (const char* name : kPreferred) {
        const QString family = QString::fromLatin1(name);
        if (installed.contains(family, Qt::CaseInsensitive))
            chosen << family;
    }
    if (chosen.isEmpty()) {
        // Any family that covers simplified Chinese.
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (!chinese.isEmpty())
            chosen << chinese.first();
    }
    if (chosen.isEmpty())
        return chosen;
    for (const QString& design : {QStringLiteral("宋体"), QStringLiteral("SimSun")}) {
        if (installed.contains(design, Qt::CaseInsensitive))
            continue;
        QFont::removeSubstitutions(design);
        QFont::insertSubstitutions(design, chosen);
    }
    return chosen;
}

} // namespace lumo
