#include "DataBinding.h"

#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace lumo
{

namespace
{

void setBoxText(QWidget* box, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(box))
        e->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(box))
        l->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(box))
        p->setPlainText(text);
    else if (auto* t = qobject_cast<QTextEdit*>(box))
        t->setPlainText(text);
    else if (auto* c = qobject_cast<QComboBox*>(box))
        c->setCurrentText(text);
}

class FieldBinding : public QObject
{
public:
    FieldBinding(QWidget* box, DataSource* source, const QString& field)
        : QObject(box), m_box(box), m_source(source), m_field(field)
    {
        connect(source, &DataSource::datasetChanged, this, [this] { attach(); });
        attach();
    }

private:
    void attach()
    {
        for (const auto& c : m_connections)
            disconnect(c);
        m_connections.clear();
        Dataset* d = m_source ? m_source->dataset() : nullptr;
        if (d) {
            m_connections << connect(d, &Dataset::currentRowChanged, this, [this] { update(); });
            m_connections << connect(d, &Dataset::rowChanged, this, [this] { update(); });
            m_connections << connect(d, &Dataset::stateChanged, this, [this] { update(); });
            m_connections << connect(d, &Dataset::rowsReset, this, [this] { update(); });
        }
        update();
    }

    void update()
    {
        Dataset* d = m_source ? m_source->dataset() : nullptr;
        QString text;
        if (d && d->active()) {
            try {
                text = d->displayText(m_field);
            } catch (const DataError&) {
            }
        }
        if (m_box)
            setBoxText(m_box, text);
    }

    QPointer<QWidget> m_box;
    QPointer<DataSource> m_source;
    QString m_field;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace

void bindField(QWidget* box, DataSource* source, const QString& field)
{
    new FieldBinding(box, source, field);
}

} // namespace lumo
