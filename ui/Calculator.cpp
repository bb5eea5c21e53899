#include "Calculator.h"

namespace lumo
{

CalcNumber Calculator::apply(const CalcNumber& a, Op op, const CalcNumber& b)
{
    switch (op) {
    case Op::Add:
        return a + b;
    case Op::Subtract:
        return a - b;
    case Op::Multiply:
        return a * b;
    case Op::Divide:
        return a / b;
    case Op::None:
        break;
    }
    return b;
}

void Calculator::startIfError()
{
    if (hasError())
        clear();
}

void Calculator::commitEntry()
{
    if (!m_typing)
        return;
    CalcNumber n;
    if (!CalcNumber::parse(m_entry, &n))
        n = CalcNumber();
    m_current = n;
    m_typing = false;
    m_entry.clear();
}

void Calculator::setResult(const CalcNumber& n)
{
    m_typing = false;
    m_entry.clear();
    m_current = n;
}

static int entryDigits(const QString& entry)
{
    int count = 0;
    for (QChar c : entry)
        if (c.isDigit())
            ++count;
    return count;
}

void Calculator::digit(int d)
{
    if (d < 0 || d > 9)
        return;
    startIfError();
    if (!m_typing) {
        m_typing = true;
        m_entry.clear();
        m_fresh = true;
    }
    const bool negative = m_entry.startsWith(QLatin1Char('-'));
    const QString body = negative ? m_entry.mid(1) : m_entry;
    if (body == QStringLiteral("0") || body.isEmpty()) {
        m_entry = (negative ? QStringLiteral("-") : QString()) + QChar(u'0' + d);
        return;
    }
    if (entryDigits(m_entry) >= kMaxEntryDigits)
        return;
    m_entry += QChar(u'0' + d);
}

void Calculator::point()
{
    startIfError();
    if (!m_typing) {
        m_typing = true;
        m_entry = QStringLiteral("0.");
        m_fresh = true;
        return;
    }
    if (!m_entry.contains(QLatin1Char('.')))
        m_entry += m_entry.isEmpty() || m_entry == QStringLiteral("-") ? QStringLiteral("0.")
                                                                       : QStringLiteral(".");
}

void Calculator::backspace()
{
    if (hasError()) {
        clear();
        return;
    }
    if (!m_typing)
        return;
    m_entry.chop(1);
    if (m_entry.isEmpty() || m_entry == QStringLiteral("-"))
        m_entry = QStringLiteral("0");
}

void Calculator::negate()
{
    if (hasError())
        return;
    if (m_typing) {
        if (m_entry.startsWith(QLatin1Char('-')))
            m_entry.remove(0, 1);
        else if (m_entry != QStringLiteral("0"))
            m_entry.prepend(QLatin1Char('-'));
        return;
    }
    m_current = m_current.negated();
    m_fresh = true;
}

void Calculator::operation(Op op)
{
    if (hasError())
        return;
    commitEntry();
    if (m_pending != Op::None && m_fresh)
        m_current = apply(m_left, m_pending, m_current);
    m_left = m_current;
    m_pending = hasError() ? Op::None : op;
    m_fresh = false;
    m_lastOp = Op::None;
}

void Calculator::equals()
{
    if (hasError())
        return;
    commitEntry();
    if (m_pending != Op::None) {
        const CalcNumber operand = m_fresh ? m_current : m_left;
        m_lastOp = m_pending;
        m_lastOperand = operand;
        setResult(apply(m_left, m_pending, operand));
        m_pending = Op::None;
    } else if (m_lastOp != Op::None) {
        setResult(apply(m_current, m_lastOp, m_lastOperand));
    }
    m_left = m_current;
    m_fresh = false;
}

void Calculator::percent()
{
    if (hasError())
        return;
    commitEntry();
    const CalcNumber hundredth = m_current.scaled(-2);
    if (m_pending == Op::Add || m_pending == Op::Subtract)
        setResult(m_left * hundredth);
    else
        setResult(hundredth);
    m_fresh = true;
}

void Calculator::squareRoot()
{
    if (hasError())
        return;
    commitEntry();
    setResult(m_current.sqrt());
    m_fresh = true;
}

void Calculator::reciprocal()
{
    if (hasError())
        return;
    commitEntry();
    setResult(m_current.reciprocal());
    m_fresh = true;
}

void Calculator::clear()
{
    const CalcNumber memory = m_memory;
    *this = Calculator();
    m_memory = memory;
}

void Calculator::clearEntry()
{
    if (hasError()) {
        clear();
        return;
    }
    setResult(CalcNumber());
    m_fresh = true;
}

void Calculator::memoryClear()
{
    m_memory = CalcNumber();
}

void Calculator::memoryRecall()
{
    startIfError();
    setResult(m_memory);
    m_fresh = true;
}

void Calculator::memoryStore()
{
    if (hasError())
        return;
    commitEntry();
    m_memory = m_current;
}

void Calculator::memoryAdd()
{
    if (hasError())
        return;
    commitEntry();
    const CalcNumber sum = m_memory + m_current;
    if (!sum.hasError())
        m_memory = sum;
}

bool Calculator::enterNumber(const QString& text)
{
    CalcNumber n;
    if (!CalcNumber::parse(text, &n))
        return false;
    startIfError();
    setResult(n);
    m_fresh = true;
    return true;
}

bool Calculator::press(const QString& key)
{
    if (key.size() == 1 && key[0] >= QLatin1Char('0') && key[0] <= QLatin1Char('9')) {
        digit(key[0].unicode() - u'0');
        return true;
    }
    static const struct {
        const char* key;
        void (Calculator::*action)();
    } actions[] = {{".", &Calculator::point},         {"=", &Calculator::equals},
                   {"%", &Calculator::percent},       {"sqrt", &Calculator::squareRoot},
                   {"1/x", &Calculator::reciprocal},  {"+/-", &Calculator::negate},
                   {"C", &Calculator::clear},         {"CE", &Calculator::clearEntry},
                   {"BS", &Calculator::backspace},    {"MC", &Calculator::memoryClear},
                   {"MR", &Calculator::memoryRecall}, {"MS", &Calculator::memoryStore},
                   {"M+", &Calculator::memoryAdd}};
    for (const auto& a : actions) {
        if (key == QLatin1String(a.key)) {
            (this->*a.action)();
            return true;
        }
    }
    static const struct {
        const char* key;
        Op op;
    } ops[] = {{"+", Op::Add}, {"-", Op::Subtract}, {"*", Op::Multiply}, {"/", Op::Divide}};
    for (const auto& o : ops) {
        if (key == QLatin1String(o.key)) {
            operation(o.op);
            return true;
        }
    }
    return false;
}

QString Calculator::display() const
{
    if (m_typing)
        return m_entry;
    return m_current.toString();
}

CalcNumber Calculator::value() const
{
    if (m_typing) {
        CalcNumber n;
        if (CalcNumber::parse(m_entry, &n))
            return n;
    }
    return m_current;
}

} // namespace lumo
