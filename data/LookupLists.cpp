#include "LookupLists.h"

#include "DataError.h"
#include "SettingsStore.h"

namespace lumo
{

const QList<LookupSection>& lookupSections()
{
    static const QList<LookupSection> sections = {
        {QStringLiteral("gj"),
         6,
         {QStringLiteral("和平区"), QStringLiteral("沈河区"), QStringLiteral("皇姑区"),
          QStringLiteral("大东区"), QStringLiteral("铁西区"), QStringLiteral("东陵区")},
         QStringLiteral("所有区"),
         QStringLiteral("其它区")},
        {QStringLiteral("cx"),
         10,
         {QStringLiteral("南北"), QStringLiteral("双阳"), QStringLiteral("三阳"),
          QStringLiteral("东西"), QStringLiteral("双东"), QStringLiteral("三东"),
          QStringLiteral("东南"), QStringLiteral("东北"), QStringLiteral("西南"),
          QStringLiteral("西北")},
         QStringLiteral("所有"),
         QStringLiteral("其它")},
        {QStringLiteral("hx"),
         10,
         {QStringLiteral("单间"), QStringLiteral("一室一厅"), QStringLiteral("二室一厅"),
          QStringLiteral("二室"), QStringLiteral("三室一厅"), QStringLiteral("三室"),
          QStringLiteral("二室二厅"), QStringLiteral("三室二厅"), QStringLiteral("四室二厅"),
          QStringLiteral("插间")},
         QStringLiteral("所有"),
         QStringLiteral("其它")},
    };
    return sections;
}

const LookupSection& lookupSection(const QString& section)
{
    for (const LookupSection& s : lookupSections())
        if (s.section.compare(section, Qt::CaseInsensitive) == 0)
            return s;
    return lookupSections().first();
}

void writeLookupDefaults(const SettingsStore& store, const LookupSection& section)
{
    for (int i = 0; i < section.defaults.size(); ++i) {
        const QString key = QStringLiteral("s%1").arg(i + 1);
        if (store.readProfileString(section.section, key).isEmpty())
            store.writeProfileString(section.section, key, section.defaults[i]);
    }
}

QStringList readLookupList(const SettingsStore& store, const LookupSection& section)
{
    const QString countText = store.readProfileString(section.section, QStringLiteral("s"),
                                                      QString::number(section.defaultCount));
    bool ok = false;
    const int count = countText.trimmed().toInt(&ok);
    if (!ok)
        throw DataError(QStringLiteral("'%1' is 不是一个有效的整数值").arg(countText));
    QStringList entries;
    for (int i = 1; i <= count; ++i)
        entries << store.readProfileString(section.section, QStringLiteral("s%1").arg(i));
    return entries;
}

} // namespace lumo
