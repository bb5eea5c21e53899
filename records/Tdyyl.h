#pragma once
#include "ChildForm.h"
#include "ListingReport.h"

class QPagedPaintDevice;

namespace lumo
{

// The listing printout. Creating it prints the print list (fzxx) at once
// and closes the window again; it is never used interactively.
class Tdyyl : public ChildForm
{
    Q_OBJECT
public:
    Tdyyl(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // The layout of the report and what it drew last.
    ListingReport QuickRep1;
    // Where the report went: the printer's name, or the PDF written when
    // the machine has no printer. Empty when nothing was printed.
    QString lastOutput() const { return m_output; }

    void FormCreate();

private:
    bool printTo(QPagedPaintDevice* device, const QVector<ListingRow>& rows, const QString& name,
                 const QString& telephone, const QString& failureText);
    QString pdfFileName() const;

    QString m_output;
};

} // namespace lumo
