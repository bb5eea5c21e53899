#pragma once
#include <QLabel>
#include <QList>

namespace lumo
{

// A sunken text laid behind a row of controls, its caption words labelling
// them: the caption's words fall into two lines, word k of the first line
// stands above control k and word k of the second line below it, each at
// the control's left edge. The controls are children of the text, laid out
// between the two lines. text() is the caption as given.
class FramingText : public QLabel
{
    Q_OBJECT
public:
    FramingText(const QString& caption, QWidget* parent = nullptr);

    // Puts the controls into the text, left to right.
    void setFramed(const QList<QWidget*>& controls);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateMargins();

    QList<QWidget*> m_controls;
};

} // namespace lumo
