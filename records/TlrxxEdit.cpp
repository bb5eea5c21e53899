// The entry form's data work: adding, correcting, the photo and the
// address look-ahead.
#include "AppContext.h"
#include "Clock.h"
#include "DataError.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DatasetModel.h"
#include "Dialogs.h"
#include "Folders.h"
#include "Tlrxx.h"
#include "Tsj.h"

#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSqlQuery>

namespace lumo
{

namespace
{

const QString kPictureFilter = QStringLiteral(
    "All Image|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.tiff|CompuServe GIF Image "
    "(*.gif)|*.gif|JPG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps "
    "(*.bmp)|*.bmp|Enhanced Metafiles (*.emf,wmf,tiff)|*.emf;*.wmf;*.tiff|All File (*.*)|*.*");

} // namespace

QString Tlrxx::pictureFilter()
{
    return fileDialogFilter(kPictureFilter);
}

bool Tlrxx::numberText(QLineEdit* box, double* value)
{
    const QString text = box->text().isEmpty() ? QStringLiteral("0") : box->text();
    bool ok = false;
    *value = text.toDouble(&ok);
    if (!ok)
        context().dialogs.message(this, QStringLiteral("'%1' is 不是一个有效的浮点值").arg(text),
                                  Dialogs::Icon::Error);
    return ok;
}

qint64 Tlrxx::nextSerial()
{
    Dataset* table = context().sj.ADOTable1;
    qint64 serial = 1;
    table->last();
    if (!table->isEmpty()) {
        const qint64 last = table->value(QStringLiteral("序号")).toLongLong();
        if (last > 0)
            serial = last + 1;
    }
    // The number may already stand in another row (after edits in the
    // grid); then the next free number above it is taken, so a listing is
    // never refused or doubled.
    QSqlQuery q(context().sj.lumo1());
    q.prepare(QStringLiteral("SELECT 1 FROM fcxx WHERE 序号 = ?"));
    q.addBindValue(serial);
    if (q.exec() && q.next()) {
        QSqlQuery gap(context().sj.lumo1());
        gap.prepare(QStringLiteral("SELECT MIN(a.序号) + 1 FROM fcxx a WHERE a.序号 >= ? AND "
                                   "NOT EXISTS (SELECT 1 FROM fcxx b WHERE b.序号 = a.序号 + 1)"));
        gap.addBindValue(serial);
        if (gap.exec() && gap.next() && !gap.value(0).isNull())
            serial = gap.value(0).toLongLong();
    }
    return serial;
}

void Tlrxx::writeFields()
{
    Dataset* t = context().sj.ADOTable1;
    t->setValue(QStringLiteral("SB"), ComboBox4->currentText());
    t->setValue(QStringLiteral("区域"), FlatComboBox3->currentText());
    t->setValue(QStringLiteral("房屋地址"), Edit1->text());
    t->setValue(QStringLiteral("详细地址"), Edit8->text());
    t->setValue(QStringLiteral("户型"), FlatComboBox2->currentText());
    t->setValue(QStringLiteral("朝向"), FlatComboBox4->currentText());
    t->setValue(QStringLiteral("权属"), FlatComboBox1->currentText());
    t->setValue(QStringLiteral("备注"), edit2->toPlainText());
    t->setValue(QStringLiteral("相片"), Edit7->text());
    t->setValue(QStringLiteral("联系电话"), Edit4->text());
    t->setValue(QStringLiteral("房主"), Edit5->text());
}

void Tlrxx::Button1Click()
{
    Dataset* t = context().sj.ADOTable1;
    const bool adding = Button1->text() == QStringLiteral("添加");
    try {
        qint64 serial = 0;
        if (adding)
            serial = nextSerial();
        else
            Button1->setText(QStringLiteral("添加"));
        // Both numbers are converted before the table is touched.
        double area = 0;
        double price = 0;
        if (!numberText(Edit3, &area) || !numberText(Edit6, &price))
            return;
        if (adding) {
            t->insert();
            t->setValue(QStringLiteral("序号"), serial);
        } else {
            t->edit();
        }
        try {
            t->setValue(QStringLiteral("楼层"), SpinEdit1->value());
            t->setValue(QStringLiteral("房龄"), SpinEdit3->value());
            t->setValue(QStringLiteral("面积"), area);
            t->setValue(QStringLiteral("价格"), price);
            writeFields();
            if (adding)
                t->setValue(QStringLiteral("登记日期"), context().clock.today());
            t->post();
        } catch (const DataError&) {
            t->cancel();
            throw;
        }
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tlrxx::Button3Click()
{
    if (Button3->text() != QStringLiteral("修改")) {
        clearBoxes();
        return;
    }
    Dataset* t = context().sj.ADOTable1;
    try {
        if (!t->active() || t->recNo() < 0)
            return;
        auto text = [t](const char16_t* field) {
            return t->displayText(QString::fromUtf16(field));
        };
        SpinEdit1->setValue(t->value(QStringLiteral("楼层")).toInt());
        SpinEdit3->setValue(t->value(QStringLiteral("房龄")).toInt());
        Edit3->setText(QString::number(t->value(QStringLiteral("面积")).toDouble(), 'g', 15));
        Edit6->setText(QString::number(t->value(QStringLiteral("价格")).toDouble(), 'g', 15));
        {
            // Written as text: the ownership list and the column title
            // follow only a change made in the box itself.
            const QSignalBlocker block(ComboBox4);
            ComboBox4->setEditText(text(u"SB"));
        }
        FlatComboBox3->setEditText(text(u"区域"));
        Edit1->setText(text(u"房屋地址"));
        Edit8->setText(text(u"详细地址"));
        FlatComboBox2->setEditText(text(u"户型"));
        FlatComboBox4->setEditText(text(u"朝向"));
        FlatComboBox1->setEditText(text(u"权属"));
        edit2->setPlainText(text(u"备注"));
        Edit4->setText(text(u"联系电话"));
        Edit5->setText(text(u"房主"));
        const QString path = text(u"相片");
        Edit7->setText(showPicture(path) ? path : QString());
        Button1->setText(QStringLiteral("确认"));
        Button3->setText(QStringLiteral("刷新"));
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tlrxx::clearBoxes()
{
    SpinEdit1->setValue(0);
    SpinEdit3->setValue(0);
    Edit3->clear();
    Edit6->clear();
    {
        const QSignalBlocker block(ComboBox4);
        ComboBox4->setEditText(QString());
    }
    FlatComboBox3->setEditText(QString());
    Edit1->clear();
    FlatComboBox2->setEditText(QString());
    FlatComboBox4->setEditText(QString());
    FlatComboBox1->setEditText(QString());
    edit2->clear();
    Edit4->clear();
    Edit5->clear();
    Edit7->clear();
    Button1->setText(QStringLiteral("添加"));
    Button3->setText(QStringLiteral("修改"));
}

void Tlrxx::Button4Click()
{
    clearBoxes();
    dbImage1->hide();
}

bool Tlrxx::showPicture(const QString& path)
{
    if (path.isEmpty()) {
        dbImage1->hide();
        return false;
    }
    const QString file = QDir(context().folders.currentDir()).absoluteFilePath(path);
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        dbImage1->hide();
        return false;
    }
    dbImage1->setPixmap(QPixmap::fromImage(image));
    dbImage1->show();
    return true;
}

void Tlrxx::DBImage1Click()
{
    dbImage1->show();
    const QString file =
        context().dialogs.openFileName(this, QString(), QString(), pictureFilter());
    if (file.isEmpty()) {
        if (dbImage1->pixmap().isNull())
            dbImage1->hide();
        return;
    }
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        context().dialogs.message(
            this, QStringLiteral("无法读取图片文件“%1”：%2").arg(file, reader.errorString()),
            Dialogs::Icon::Error);
        if (dbImage1->pixmap().isNull())
            dbImage1->hide();
        return;
    }
    dbImage1->setPixmap(QPixmap::fromImage(image));
    Edit7->setText(QFileInfo(file).absoluteFilePath());
}

void Tlrxx::DBGrid1CellClick()
{
    Dataset* t = context().sj.ADOTable1;
    try {
        if (t->active() && t->recNo() >= 0 && showPicture(t->displayText(QStringLiteral("相片"))))
            return;
    } catch (const DataError&) {
    }
    dbImage1->hide();
}

void Tlrxx::ComboBox4Change()
{
    DatasetModel* model = DBGrid1->datasetModel();
    const bool rent = ComboBox4->currentText() == QStringLiteral("租");
    if (model->columnCount() > 9)
        model->setColumnTitle(9, rent ? QStringLiteral("租期") : QStringLiteral("权属"));
    bitbtn8->setText(rent ? QStringLiteral("打租方式") : QStringLiteral("权 属"));
    FlatComboBox1->clear();
    if (rent) {
        FlatComboBox1->addItems({QStringLiteral("每月"), QStringLiteral("季度"),
                                 QStringLiteral("半年"), QStringLiteral("年度"),
                                 QStringLiteral("其他")});
        FlatComboBox1->setEditText(QStringLiteral("季度"));
    } else {
        FlatComboBox1->addItems(
            {QStringLiteral("产权"), QStringLiteral("使用权"), QStringLiteral("其他")});
        FlatComboBox1->setEditText(QStringLiteral("产权"));
    }
}

void Tlrxx::lookAhead(QLineEdit* box, QLineEdit* suggestion, const QString& field, int key)
{
    Dataset* t = context().sj.ADOTable1;
    try {
        if (!t->active())
            return;
        // While correcting, "确认" writes the table's current row: the search
        // must leave it where it is, or the correction would land on the
        // suggested row.
        if (Button1->text() == QStringLiteral("确认")) {
            const int row = t->recNo();
            try {
                findSuggestion(box, suggestion, field, key);
            } catch (const DataError&) {
                t->moveTo(row);
                throw;
            }
            t->moveTo(row);
            return;
        }
        t->first();
        findSuggestion(box, suggestion, field, key);
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tlrxx::findSuggestion(QLineEdit* box, QLineEdit* suggestion, const QString& field, int key)
{
    Dataset* t = context().sj.ADOTable1;
    const QString typed = box->text();
    if (typed.isEmpty() || t->isEmpty())
        return;
    // The first row in table order whose field begins with the typed
    // text; found by the engine, then the table moves to it.
    QSqlQuery q(context().sj.lumo1());
    q.prepare(QStringLiteral("SELECT (SELECT COUNT(*) FROM fcxx b WHERE b.rowid < a.rowid) "
                             "FROM fcxx a WHERE substr(a.%1, 1, ?) = ? ORDER BY a.rowid "
                             "LIMIT 1")
                  .arg(field));
    q.addBindValue(typed.size());
    q.addBindValue(typed);
    if (!q.exec() || !q.next()) {
        t->first();
        return;
    }
    bool found = t->moveTo(q.value(0).toInt()) && t->displayText(field).startsWith(typed);
    if (!found) {
        // The table's rows differ from the file's: look row by row.
        for (t->first(); !t->eof(); t->next())
            if (t->displayText(field).startsWith(typed)) {
                found = true;
                break;
            }
        if (!found) {
            t->first();
            return;
        }
    }
    suggestion->setText(t->displayText(field));
    suggestion->show();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        box->setText(suggestion->text());
        suggestion->hide();
    }
}

void Tlrxx::Edit1KeyUp(int key)
{
    lookAhead(Edit1, FlatEdit1, QStringLiteral("房屋地址"), key);
}

void Tlrxx::Edit8KeyUp(int key)
{
    lookAhead(Edit8, FlatEdit2, QStringLiteral("详细地址"), key);
}

} // namespace lumo
