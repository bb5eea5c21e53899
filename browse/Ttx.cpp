#include "Ttx.h"

#include "AppContext.h"
#include "DataBinding.h"
#include "DataError.h"
#include "Dataset.h"
#include "MainFrame.h"
#include "OwnLook.h"
#include "Screen.h"
#include "Tsj.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lumo
{

namespace
{

QLineEdit* dataBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setEnabled(false);
    return box;
}

QLabel* unitLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

int scaled(int value, int numerator, int denominator)
{
    return int(std::lround(double(value) * numerator / denominator));
}

} // namespace

Ttx::Ttx(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Ttx"));
    setWindowTitle(QStringLiteral("图形预览"));
    applyFontSize();
    setFixedSize(536, 542);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 536, 421);
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);

    DBEdit9 = dataBox(this, "DBEdit9", QRect(4, 425, 500, 22));
    bsSkinUpDown1 = new QWidget(this);
    bsSkinUpDown1->setObjectName(QStringLiteral("bsSkinUpDown1"));
    bsSkinUpDown1->setGeometry(508, 425, 24, 22);
    auto* arrows = new QVBoxLayout(bsSkinUpDown1);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    SpinButton1Up = new QToolButton(bsSkinUpDown1);
    SpinButton1Up->setObjectName(QStringLiteral("SpinButton1Up"));
    SpinButton1Up->setArrowType(Qt::UpArrow);
    SpinButton1Up->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    SpinButton1Down = new QToolButton(bsSkinUpDown1);
    SpinButton1Down->setObjectName(QStringLiteral("SpinButton1Down"));
    SpinButton1Down->setArrowType(Qt::DownArrow);
    SpinButton1Down->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    arrows->addWidget(SpinButton1Up);
    arrows->addWidget(SpinButton1Down);

    DBEdit2 = dataBox(this, "DBEdit2", QRect(4, 451, 62, 22));
    DBEdit3 = dataBox(this, "DBEdit3", QRect(70, 451, 50, 22));
    DBEdit4 = dataBox(this, "DBEdit4", QRect(124, 451, 34, 22));
    Label1 = unitLabel(this, "Label1", QStringLiteral("楼"), QRect(160, 455, 14, 16));
    DBEdit5 = dataBox(this, "DBEdit5", QRect(176, 451, 34, 22));
    Label2 = unitLabel(this, "Label2", QStringLiteral("年"), QRect(212, 455, 14, 16));
    DBEdit6 = dataBox(this, "DBEdit6", QRect(230, 451, 62, 22));
    DBEdit7 = dataBox(this, "DBEdit7", QRect(296, 451, 62, 22));
    Label3 = unitLabel(this, "Label3", QStringLiteral("㎡"), QRect(360, 455, 16, 16));
    DBEdit8 = dataBox(this, "DBEdit8", QRect(380, 451, 110, 22));
    Label4 = unitLabel(this, "Label4", QStringLiteral("万元"), QRect(494, 455, 38, 16));
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setGeometry(4, 477, 528, 61);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setReadOnly(true);

    DataSource* source = ctx.sj.DataSource1;
    bindField(DBEdit9, source, QStringLiteral("房屋地址"));
    bindField(DBEdit2, source, QStringLiteral("户型"));
    bindField(DBEdit3, source, QStringLiteral("朝向"));
    bindField(DBEdit4, source, QStringLiteral("楼层"));
    bindField(DBEdit5, source, QStringLiteral("房龄"));
    bindField(DBEdit6, source, QStringLiteral("权属"));
    bindField(DBEdit7, source, QStringLiteral("面积"));
    bindField(DBEdit8, source, QStringLiteral("价格"));
    bindField(DBMemo1, source, QStringLiteral("备注"));

    connect(SpinButton1Up, &QToolButton::clicked, this, &Ttx::SpinButton1UpClick);
    connect(SpinButton1Down, &QToolButton::clicked, this, &Ttx::SpinButton1DownClick);
    Image1->installEventFilter(this);
    DBMemo1->installEventFilter(this);

    move(m_ctx.screen.centred(size()).topLeft());
    loadPhoto();
    show();
}

void Ttx::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool Ttx::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

void Ttx::FormShow()
{
    m_enlarged = 0;
    m_reduced = 0;
}

void Ttx::FormActivate()
{
    if (!m_ctx.sj.ADOQuery1->active()) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    loadPhoto();
}

void Ttx::loadPhoto()
{
    QString path;
    Dataset* q = m_ctx.sj.ADOQuery1;
    try {
        if (q->active() && q->recNo() >= 0)
            path = q->displayText(QStringLiteral("相片"));
    } catch (const DataError&) {
    }
    // No path, or a file that cannot be read, leaves the picture area empty
    // rather than showing an earlier property's photo.
    QPixmap picture;
    if (!path.isEmpty())
        picture.load(path);
    if (picture.isNull())
        Image1->clear();
    else
        Image1->setPixmap(picture);
}

void Ttx::SpinButton1DownClick()
{
    if (m_enlarged < m_reduced + 4) {
        ++m_enlarged;
        scaleWindow(110, 100);
    }
}

void Ttx::SpinButton1UpClick()
{
    if (m_reduced < m_enlarged + 4) {
        ++m_reduced;
        scaleWindow(90, 100);
    }
}

void Ttx::scaleWindow(int numerator, int denominator)
{
    const QPoint corner = pos();
    setFixedSize(scaled(width(), numerator, denominator), scaled(height(), numerator, denominator));
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect g = w->geometry();
        w->setGeometry(scaled(g.x(), numerator, denominator), scaled(g.y(), numerator, denominator),
                       scaled(g.width(), numerator, denominator),
                       scaled(g.height(), numerator, denominator));
    }
    m_fontSize = std::max(1, scaled(m_fontSize, numerator, denominator));
    applyFontSize();
    move(corner);
}

void Ttx::applyFontSize()
{
    // The window's own font, so that the zoom reaches every control's text
    // under every look.
    QFont f;
    f.setPointSize(m_fontSize);
    setOwnFont(this, f);
}

void Ttx::Image1Click()
{
    close();
}

void Ttx::DBMemo1KeyPress(QChar& key)
{
    key = QChar();
}

bool Ttx::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        QTimer::singleShot(0, this, &Ttx::Image1Click);
        return true;
    }
    if (watched == DBMemo1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty()) {
            QChar c = key->text().at(0);
            DBMemo1KeyPress(c);
            if (c.isNull())
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumo
