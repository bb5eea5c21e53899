#include "Tdyyl.h"

#include "AppContext.h"
#include "Clock.h"
#include "DataError.h"
#include "Dialogs.h"
#include "Folders.h"
#include "MainFrame.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

namespace lumo
{

Tdyyl::Tdyyl(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tdyyl"));
    setWindowTitle(QStringLiteral("打印结果"));
    FormCreate();
    deleteLater();
}

void Tdyyl::FormCreate()
{
    AppContext& ctx = context();
    const QString telephone = ctx.store.ReadAppValue(QStringLiteral("dh"));
    const QString name = ctx.store.ReadAppValue(QStringLiteral("gs"));

    QVector<ListingRow> rows;
    try {
        rows = ListingReport::readRows(*ctx.sj.ADOTable3);
    } catch (const DataError& e) {
        ctx.dialogs.message(frame().frameWidget(), e.text(), Dialogs::Icon::Error);
        return;
    }

    QPrinter* printer = frame().printer();
    const bool printsToFile = printer && printer->outputFormat() == QPrinter::PdfFormat &&
                              !printer->outputFileName().isEmpty();
    if (printer && (printsToFile || !QPrinterInfo::availablePrinters().isEmpty())) {
        if (printTo(printer, rows, name, telephone,
                    QStringLiteral("打印失败：打印机无法输出打印结果。")))
            m_output = printsToFile ? printer->outputFileName() : printer->printerName();
        return;
    }

    // No printer on this machine: the report goes to a PDF beside the
    // program instead of silently printing nothing.
    const QString file = pdfFileName();
    {
        QPdfWriter pdf(file);
        pdf.setTitle(QStringLiteral("打印结果"));
        pdf.setCreator(QStringLiteral("Velmora"));
        if (!printTo(&pdf, rows, name, telephone,
                     QStringLiteral("无法写入文件：\n%1").arg(QDir::toNativeSeparators(file)))) {
            m_output.clear();
        } else {
            m_output = file;
        }
    }
    if (m_output.isEmpty()) {
        QFile::remove(file);
        return;
    }
    ctx.dialogs.message(frame().frameWidget(),
                        QStringLiteral("没有找到可用的打印机，打印结果已保存为 PDF 文件：\n%1")
                            .arg(QDir::toNativeSeparators(file)));
}

bool Tdyyl::printTo(QPagedPaintDevice* device, const QVector<ListingRow>& rows, const QString& name,
                    const QString& telephone, const QString& failureText)
{
    QProgressDialog progress(QStringLiteral("正在打印..."), QStringLiteral("取消"), 0,
                             int(rows.size()), frame().frameWidget());
    progress.setWindowTitle(QStringLiteral("打印结果"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    bool ok = QuickRep1.render(device, rows, name, telephone, context().clock.today(),
                               [&progress](int done, int) {
                                   progress.setValue(done);
                                   return !progress.wasCanceled();
                               });
    progress.setValue(int(rows.size()));
    if (!ok) {
        if (auto* printer = dynamic_cast<QPrinter*>(device))
            printer->abort();
        if (!progress.wasCanceled())
            context().dialogs.message(frame().frameWidget(), failureText, Dialogs::Icon::Warning);
    }
    return ok;
}

QString Tdyyl::pdfFileName() const
{
    const QString stamp = context().clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString dir = context().folders.appDir() + QLatin1Char('/');
    QString file = dir + QStringLiteral("打印结果-%1.pdf").arg(stamp);
    for (int n = 2; QFile::exists(file); ++n)
        file = dir + QStringLiteral("打印结果-%1-%2.pdf").arg(stamp).arg(n);
    return file;
}

} // namespace lumo
