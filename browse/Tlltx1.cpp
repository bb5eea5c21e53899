#include "Tlltx1.h"

#include "AppContext.h"
#include "DataBinding.h"
#include "DataError.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "MainFrame.h"
#include "PricePerMetre.h"
#include "Screen.h"
#include "SearchStatement.h"
#include "Tsj.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lumo
{

BrowserPicture::BrowserPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void BrowserPicture::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void BrowserPicture::clearPicture()
{
    m_picture = QPixmap();
    update();
}

void BrowserPicture::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size = m_picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawPixmap(target, m_picture);
}

namespace
{

QLabel* caption(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

template <typename Box> Box* dataBox(QWidget* parent, const char* name)
{
    auto* box = new Box(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

} // namespace

Tlltx1::Tlltx1(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tlltx1"));
    setWindowTitle(QStringLiteral("信息浏览"));
    QWidget* b = body();
    setBodyColor(Qt::white);
    b->resize(789, 507);

    auto* outer = new QVBoxLayout(b);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    Bevel1 = new QFrame(b);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setFixedHeight(3);
    outer->addWidget(Bevel1);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    outer->addLayout(row, 1);

    Panel1 = new QFrame(b);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(257);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setToolTip(QStringLiteral("点击关闭！"));
    Panel1->setMouseTracking(true);
    row->addWidget(Panel1);

    auto* grid = new QGridLayout(Panel1);
    Label6 = caption(Panel1, "Label6", QStringLiteral("地址："));
    DBMemo2 = dataBox<QPlainTextEdit>(Panel1, "DBMemo2");
    DBMemo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo2->setFixedHeight(60);
    Label5 = caption(Panel1, "Label5", QStringLiteral("户型："));
    DBEdit2 = dataBox<QLineEdit>(Panel1, "DBEdit2");
    QFont large = DBEdit2->font();
    large.setPointSize(large.pointSize() + 4);
    DBEdit2->setFont(large);
    Label7 = caption(Panel1, "Label7", QStringLiteral("朝向："));
    DBEdit3 = dataBox<QLineEdit>(Panel1, "DBEdit3");
    Label8 = caption(Panel1, "Label8", QStringLiteral("楼层："));
    DBEdit4 = dataBox<QLineEdit>(Panel1, "DBEdit4");
    Label1 = caption(Panel1, "Label1", QStringLiteral("楼"));
    Label9 = caption(Panel1, "Label9", QStringLiteral("房龄："));
    DBEdit5 = dataBox<QLineEdit>(Panel1, "DBEdit5");
    Label2 = caption(Panel1, "Label2", QStringLiteral("年"));
    Label10 = caption(Panel1, "Label10", QStringLiteral("面积："));
    DBEdit7 = dataBox<QLineEdit>(Panel1, "DBEdit7");
    Label3 = caption(Panel1, "Label3", QStringLiteral("㎡"));
    Label11 = caption(Panel1, "Label11", QStringLiteral("权属："));
    DBEdit6 = dataBox<QLineEdit>(Panel1, "DBEdit6");
    Label12 = caption(Panel1, "Label12", QStringLiteral("价格："));
    DBEdit8 = dataBox<QLineEdit>(Panel1, "DBEdit8");
    Label4 = caption(Panel1, "Label4", QStringLiteral("万元"));
    Label14 = caption(Panel1, "Label14", QStringLiteral("每平米："));
    Edit1 = new QLineEdit(QStringLiteral("0"), Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label15 = caption(Panel1, "Label15", QStringLiteral("万元"));
    Label13 = caption(Panel1, "Label13", QStringLiteral("备注："));
    DBMemo1 = dataBox<QPlainTextEdit>(Panel1, "DBMemo1");
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    grid->addWidget(Label6, 0, 0, Qt::AlignTop);
    grid->addWidget(DBMemo2, 0, 1, 1, 2);
    const std::pair<QLabel*, QWidget*> lines[] = {
        {Label5, DBEdit2},  {Label7, DBEdit3},  {Label8, DBEdit4},  {Label9, DBEdit5},
        {Label10, DBEdit7}, {Label11, DBEdit6}, {Label12, DBEdit8}, {Label14, Edit1}};
    int r = 1;
    for (const auto& [name, box] : lines) {
        grid->addWidget(name, r, 0);
        grid->addWidget(box, r, 1);
        ++r;
    }
    grid->addWidget(Label1, 3, 2);
    grid->addWidget(Label2, 4, 2);
    grid->addWidget(Label3, 5, 2);
    grid->addWidget(Label4, 7, 2);
    grid->addWidget(Label15, 8, 2);
    grid->addWidget(Label13, r, 0, Qt::AlignTop);
    grid->addWidget(DBMemo1, r, 1, 1, 2);
    grid->setRowStretch(r, 1);

    auto* pictureArea = new QWidget(b);
    auto* stack = new QStackedLayout(pictureArea);
    stack->setStackingMode(QStackedLayout::StackAll);
    Label16 = caption(pictureArea, "Label16", QStringLiteral("无 房 型"));
    QFont big = Label16->font();
    big.setPixelSize(75);
    Label16->setFont(big);
    Label16->setAlignment(Qt::AlignCenter);
    Image1 = new BrowserPicture(pictureArea);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("点击关闭！"));
    Image1->setMouseTracking(true);
    stack->addWidget(Label16);
    stack->addWidget(Image1);
    stack->setCurrentWidget(Image1);
    row->addWidget(pictureArea, 1);

    DataSource* source = ctx.sj.DataSource1;
    bindField(DBMemo2, source, QStringLiteral("房屋地址"));
    bindField(DBEdit2, source, QStringLiteral("户型"));
    bindField(DBEdit3, source, QStringLiteral("朝向"));
    bindField(DBEdit4, source, QStringLiteral("楼层"));
    bindField(DBEdit5, source, QStringLiteral("房龄"));
    bindField(DBEdit7, source, QStringLiteral("面积"));
    bindField(DBEdit6, source, QStringLiteral("权属"));
    bindField(DBEdit8, source, QStringLiteral("价格"));
    bindField(DBMemo1, source, QStringLiteral("备注"));
    for (QWidget* box : {static_cast<QWidget*>(DBMemo2), static_cast<QWidget*>(DBEdit2),
                         static_cast<QWidget*>(DBEdit3), static_cast<QWidget*>(DBEdit4),
                         static_cast<QWidget*>(DBEdit5), static_cast<QWidget*>(DBEdit7),
                         static_cast<QWidget*>(DBEdit6), static_cast<QWidget*>(DBEdit8),
                         static_cast<QWidget*>(DBMemo1)})
        box->installEventFilter(this);
    Panel1->installEventFilter(this);
    Image1->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tlltx1::Timer1Timer);
    Timer1->start();
}

void Tlltx1::showEvent(QShowEvent* event)
{
    ChildForm::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void Tlltx1::FormShow()
{
    if (context().screen.height() < 768)
        scaleContents(78, 100);
    Dataset* q = context().sj.ADOQuery1;
    try {
        q->close();
        q->clearSql();
        for (const QString& line : buildSearchStatement(frame().filterState()))
            q->addSql(line);
        q->open();
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
    showCurrent();
}

void Tlltx1::Timer1Timer()
{
    Dataset* q = context().sj.ADOQuery1;
    if (!q->active())
        return;
    try {
        // A step from the last row only sets the end flag, so the last
        // property stays in view for a second interval.
        if (q->eof())
            q->first();
        else
            q->next();
    } catch (const DataError& e) {
        Timer1->stop();
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
        return;
    }
    showCurrent();
}

void Tlltx1::showCurrent()
{
    Dataset* q = context().sj.ADOQuery1;
    QString perMetre = QStringLiteral("0");
    QString photo;
    try {
        if (q->active() && q->recNo() >= 0) {
            perMetre = pricePerSquareMetre(q->value(QStringLiteral("价格")),
                                           q->value(QStringLiteral("面积")));
            photo = q->displayText(QStringLiteral("相片"));
        }
    } catch (const DataError&) {
        // A row that cannot be read shows as an empty record.
    }
    Edit1->setText(perMetre);
    // A missing or unreadable picture, or no path at all, shows "无 房 型"
    // rather than the previous property's photo or an error every step.
    QPixmap picture;
    if (!photo.isEmpty())
        picture.load(photo);
    if (picture.isNull())
        Image1->clearPicture();
    else
        Image1->setPicture(picture);
    Label16->setVisible(!Image1->hasPicture());
}

void Tlltx1::Panel1MouseMove()
{
    frame().hideCheckLists();
    Timer1->stop();
}

void Tlltx1::Image1MouseMove()
{
    frame().hideCheckLists();
    if (!Timer1->isActive())
        Timer1->start();
}

void Tlltx1::Image1Click()
{
    close();
}

void Tlltx1::DBMemo1KeyPress(QChar& key)
{
    key = QChar();
}

bool Tlltx1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == Panel1)
            Panel1MouseMove();
        else if (watched == Image1)
            Image1MouseMove();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Panel1 || watched == Image1) {
            QTimer::singleShot(0, this, &Tlltx1::Image1Click);
            return true;
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched != Panel1 && watched != Image1 && !key->text().isEmpty()) {
            QChar c = key->text().at(0);
            DBMemo1KeyPress(c);
            if (c.isNull())
                return true;
        }
        break;
    }
    default:
        break;
    }
    return ChildForm::eventFilter(watched, event);
}

void Tlltx1::FormClose()
{
    Timer1->stop();
}

void Tlltx1::scaleContents(int numerator, int denominator)
{
    const auto scaled = [&](int v) { return (v * numerator + denominator / 2) / denominator; };
    QList<QWidget*> widgets = body()->findChildren<QWidget*>();
    widgets.prepend(body());
    for (QWidget* w : widgets) {
        QFont f = w->font();
        if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, scaled(f.pixelSize())));
        else if (f.pointSize() > 0)
            f.setPointSize(std::max(1, scaled(f.pointSize())));
        w->setFont(f);
    }
    Panel1->setFixedWidth(scaled(257));
    DBMemo2->setFixedHeight(scaled(60));
    body()->resize(scaled(body()->width()), scaled(body()->height()));
}

} // namespace lumo
