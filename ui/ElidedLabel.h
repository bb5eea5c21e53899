#pragma once
#include <QLabel>

namespace lumo
{

// A one-line label that may be narrower than its text: what does not fit is
// cut off with an ellipsis instead of widening the label. text() keeps the
// whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as drawn at the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lumo
