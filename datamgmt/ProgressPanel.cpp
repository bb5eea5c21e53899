#include "ProgressPanel.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace lumo
{

namespace
{
constexpr int kFrames = 36;
}

FileCopyAnimation::FileCopyAnimation(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this))
{
    setFixedSize(272, 50);
    m_timer->setInterval(60);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void FileCopyAnimation::start()
{
    m_timer->start();
}

void FileCopyAnimation::stop()
{
    m_timer->stop();
    m_frame = 0;
    update();
}

bool FileCopyAnimation::active() const
{
    return m_timer->isActive();
}

void FileCopyAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor folder(230, 190, 80);
    const int top = height() / 2 - 10;
    p.setPen(Qt::darkGray);
    p.setBrush(folder);
    p.drawRect(10, top, 36, 24);
    p.drawRect(width() - 46, top, 36, 24);
    // The sheet flies on an arc from the left folder to the right one.
    const double t = double(m_frame) / (kFrames - 1);
    const int x = 30 + int(t * (width() - 80));
    const int y = top - int(std::sin(t * 3.14159) * 14) - 4;
    p.setBrush(Qt::white);
    p.drawRect(x, y, 14, 18);
}

ProgressPanel::ProgressPanel(QFrame* panel) : QWidget(panel), m_panel(panel)
{
    setObjectName(QStringLiteral("ProgressPanel"));
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(4);

    suiImagePanel4 = new QFrame(this);
    suiImagePanel4->setObjectName(QStringLiteral("suiImagePanel4"));
    suiImagePanel4->setFixedHeight(22);
    suiImagePanel4->setAutoFillBackground(true);
    QPalette strip = suiImagePanel4->palette();
    strip.setColor(QPalette::Window, QColor(0, 84, 166));
    suiImagePanel4->setPalette(strip);
    auto* stripLayout = new QVBoxLayout(suiImagePanel4);
    stripLayout->setContentsMargins(6, 0, 6, 0);
    Label8 = new QLabel(QStringLiteral("*数据更新*"), suiImagePanel4);
    Label8->setObjectName(QStringLiteral("Label8"));
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    Label8->setStyleSheet(QStringLiteral("color: white;"));
    stripLayout->addWidget(Label8);
    layout->addWidget(suiImagePanel4);

    Animate1 = new FileCopyAnimation(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    layout->addWidget(Animate1, 0, Qt::AlignHCenter);

    for (QProgressBar** bar : {&suiProgressBar1, &suiProgressBar2}) {
        *bar = new QProgressBar(this);
        (*bar)->setRange(0, 100);
        (*bar)->setValue(0);
        (*bar)->setTextVisible(true);
        layout->addWidget(*bar);
    }
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar2->setObjectName(QStringLiteral("suiProgressBar2"));

    Label7 = new QLineEdit(QStringLiteral("正在解压数据..."), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setFrame(false);
    Label7->setReadOnly(true);
    layout->addWidget(Label7);
}

// The status line keeps the text the last import left in it.
void ProgressPanel::begin()
{
    suiProgressBar1->setValue(0);
    suiProgressBar2->setValue(0);
    Animate1->start();
    m_panel->show();
    m_panel->raise();
    processEvents();
}

void ProgressPanel::setText(const QString& text)
{
    Label7->setText(text);
}

void ProgressPanel::setBar(int bar, int percent)
{
    QProgressBar* b = bar == 2 ? suiProgressBar2 : suiProgressBar1;
    b->setVisible(percent >= 0);
    if (percent >= 0)
        b->setValue(qBound(0, percent, 100));
}

void ProgressPanel::end()
{
    Animate1->stop();
    m_panel->hide();
}

void ProgressPanel::processEvents()
{
    QCoreApplication::processEvents();
}

void EventLoopProgress::processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace lumo
