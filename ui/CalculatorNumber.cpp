#include "CalculatorNumber.h"

#include <algorithm>

namespace lumo
{

using Digits = CalcNumber::Digits;
using i64 = long long;

namespace
{

void trimHigh(Digits& d)
{
    while (!d.empty() && d.back() == 0)
        d.pop_back();
}

int compareNat(const Digits& a, const Digits& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Digits addNat(const Digits& a, const Digits& b)
{
    Digits r;
    r.reserve(std::max(a.size(), b.size()) + 1);
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int s = carry + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        carry = s / 10;
        r.push_back(std::int8_t(s % 10));
    }
    trimHigh(r);
    return r;
}

// a - b for a >= b.
Digits subNat(const Digits& a, const Digits& b)
{
    Digits r(a);
    int borrow = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        int s = r[i] - borrow - (i < b.size() ? b[i] : 0);
        borrow = s < 0 ? 1 : 0;
        r[i] = std::int8_t(s + borrow * 10);
    }
    trimHigh(r);
    return r;
}

Digits mulNat(const Digits& a, const Digits& b)
{
    if (a.empty() || b.empty())
        return {};
    std::vector<int> acc(a.size() + b.size(), 0);
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j)
            acc[i + j] += a[i] * b[j];
    Digits r(acc.size());
    int carry = 0;
    for (size_t i = 0; i < acc.size(); ++i) {
        int s = acc[i] + carry;
        r[i] = std::int8_t(s % 10);
        carry = s / 10;
    }
    trimHigh(r);
    return r;
}

Digits shiftUp(const Digits& a, long long places)
{
    if (a.empty())
        return a;
    Digits r(size_t(places), 0);
    r.insert(r.end(), a.begin(), a.end());
    return r;
}

// Truncated a / b for b != 0, by long division.
Digits divNat(const Digits& a, const Digits& b)
{
    Digits q(a.size(), 0);
    Digits r;
    for (size_t i = a.size(); i-- > 0;) {
        r.insert(r.begin(), a[i]);
        trimHigh(r);
        int count = 0;
        while (compareNat(r, b) >= 0) {
            r = subNat(r, b);
            ++count;
        }
        q[i] = std::int8_t(count);
    }
    trimHigh(q);
    return q;
}

Digits smallNat(int v)
{
    Digits r;
    while (v > 0) {
        r.push_back(std::int8_t(v % 10));
        v /= 10;
    }
    return r;
}

// Truncated square root, digit by digit over pairs of digits.
Digits sqrtNat(Digits a)
{
    if (a.size() % 2)
        a.push_back(0);
    Digits root, rest;
    for (size_t i = a.size(); i >= 2; i -= 2) {
        rest = addNat(shiftUp(rest, 2), Digits{a[i - 2], a[i - 1]});
        const Digits twenty = mulNat(root, smallNat(20));
        int x = 9;
        Digits product;
        for (; x > 0; --x) {
            product = mulNat(addNat(twenty, smallNat(x)), smallNat(x));
            if (compareNat(product, rest) <= 0)
                break;
        }
        if (x > 0)
            rest = subNat(rest, product);
        root = addNat(shiftUp(root, 1), smallNat(x));
    }
    trimHigh(root);
    return root;
}

long long adjusted(const Digits& d, long long exponent)
{
    return exponent + i64(d.size()) - 1;
}

} // namespace

CalcNumber CalcNumber::make(bool negative, Digits magnitude, long long exponent)
{
    trimHigh(magnitude);
    CalcNumber n;
    if (magnitude.empty())
        return n;
    if (magnitude.size() > size_t(kDigits)) {
        const size_t drop = magnitude.size() - kDigits;
        const bool up = magnitude[drop - 1] >= 5;
        magnitude.erase(magnitude.begin(), magnitude.begin() + long(drop));
        exponent += i64(drop);
        if (up) {
            magnitude = addNat(magnitude, Digits{1});
            if (magnitude.size() > size_t(kDigits)) {
                magnitude.erase(magnitude.begin());
                ++exponent;
            }
        }
    }
    size_t low = 0;
    while (low < magnitude.size() && magnitude[low] == 0)
        ++low;
    magnitude.erase(magnitude.begin(), magnitude.begin() + long(low));
    exponent += i64(low);
    const long long adj = adjusted(magnitude, exponent);
    if (adj > kMaxExponent)
        return error(Error::Overflow);
    if (adj < -kMaxExponent)
        return n;
    n.m_negative = negative;
    n.m_digits = std::move(magnitude);
    n.m_exponent = exponent;
    return n;
}

CalcNumber CalcNumber::error(Error kind)
{
    CalcNumber n;
    n.m_error = kind;
    return n;
}

CalcNumber CalcNumber::fromInt(long long value)
{
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value)
                                    : static_cast<unsigned long long>(value);
    Digits d;
    while (v > 0) {
        d.push_back(std::int8_t(v % 10));
        v /= 10;
    }
    return make(negative, d, 0);
}

bool CalcNumber::parse(const QString& input, CalcNumber* out)
{
    const QString text = input.trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    Digits msb; // most significant first
    long long exponent = 0;
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            msb.push_back(std::int8_t(c.unicode() - u'0'));
            if (point)
                --exponent;
            any = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return false;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        bool ok = false;
        const long long e = text.mid(i + 1).toLongLong(&ok);
        if (!ok || e > 100000 || e < -100000)
            return false;
        exponent += e;
    } else if (i != text.size()) {
        return false;
    }
    std::reverse(msb.begin(), msb.end());
    *out = make(negative, msb, exponent);
    return true;
}

QString CalcNumber::toString() const
{
    switch (m_error) {
    case Error::DivideByZero:
        return QStringLiteral("除数不能为零");
    case Error::Invalid:
        return QStringLiteral("无效输入");
    case Error::Overflow:
        return QStringLiteral("溢出");
    case Error::None:
        break;
    }
    if (m_digits.empty())
        return QStringLiteral("0");
    QString digits;
    for (size_t i = m_digits.size(); i-- > 0;)
        digits += QChar(u'0' + m_digits[i]);
    const long long adj = adjusted(m_digits, m_exponent);
    QString text;
    if (adj >= -7 && adj < kDigits) {
        if (m_exponent >= 0) {
            text = digits + QString(int(m_exponent), QLatin1Char('0'));
        } else if (adj >= 0) {
            text = digits.left(int(adj + 1)) + QLatin1Char('.') + digits.mid(int(adj + 1));
        } else {
            text = QStringLiteral("0.") + QString(int(-adj - 1), QLatin1Char('0')) + digits;
        }
    } else {
        text = digits.left(1);
        if (digits.size() > 1)
            text += QLatin1Char('.') + digits.mid(1);
        text += QStringLiteral("e") + (adj >= 0 ? QStringLiteral("+") : QStringLiteral("-")) +
                QString::number(adj >= 0 ? adj : -adj);
    }
    return m_negative ? QLatin1Char('-') + text : text;
}

CalcNumber CalcNumber::negated() const
{
    CalcNumber n = *this;
    if (!n.hasError() && !n.isZero())
        n.m_negative = !n.m_negative;
    return n;
}

CalcNumber CalcNumber::operator+(const CalcNumber& other) const
{
    if (hasError())
        return *this;
    if (other.hasError())
        return other;
    if (isZero())
        return other;
    if (other.isZero())
        return *this;
    // An operand far below the other's last rounding digit cannot change
    // the rounded sum.
    const long long adjA = adjusted(m_digits, m_exponent);
    const long long adjB = adjusted(other.m_digits, other.m_exponent);
    if (adjA - adjB > kDigits + 2)
        return *this;
    if (adjB - adjA > kDigits + 2)
        return other;
    const long long e = std::min(m_exponent, other.m_exponent);
    const Digits a = shiftUp(m_digits, m_exponent - e);
    const Digits b = shiftUp(other.m_digits, other.m_exponent - e);
    if (m_negative == other.m_negative)
        return make(m_negative, addNat(a, b), e);
    const int cmp = compareNat(a, b);
    if (cmp == 0)
        return CalcNumber();
    return cmp > 0 ? make(m_negative, subNat(a, b), e) : make(other.m_negative, subNat(b, a), e);
}

CalcNumber CalcNumber::operator-(const CalcNumber& other) const
{
    return *this + other.negated();
}

CalcNumber CalcNumber::operator*(const CalcNumber& other) const
{
    if (hasError())
        return *this;
    if (other.hasError())
        return other;
    return make(m_negative != other.m_negative, mulNat(m_digits, other.m_digits),
                m_exponent + other.m_exponent);
}

CalcNumber CalcNumber::operator/(const CalcNumber& other) const
{
    if (hasError())
        return *this;
    if (other.hasError())
        return other;
    if (other.isZero())
        return error(Error::DivideByZero);
    if (isZero())
        return CalcNumber();
    // Enough digits for the quotient to carry one digit beyond the
    // precision, so truncating then rounding on that digit is exact.
    const long long extra =
        std::max<long long>(0, i64(other.m_digits.size()) - i64(m_digits.size()) + kDigits + 1);
    const Digits q = divNat(shiftUp(m_digits, extra), other.m_digits);
    return make(m_negative != other.m_negative, q, m_exponent - other.m_exponent - extra);
}

CalcNumber CalcNumber::sqrt() const
{
    if (hasError())
        return *this;
    if (isZero())
        return CalcNumber();
    if (m_negative)
        return error(Error::Invalid);
    Digits d = m_digits;
    long long e = m_exponent;
    if (e % 2 != 0) {
        d = shiftUp(d, 1);
        --e;
    }
    // At least 2 * (20 + 1) digits under the root.
    const long long want = 2 * (kDigits + 1);
    if (i64(d.size()) < want) {
        long long pad = want - i64(d.size());
        pad += pad % 2;
        d = shiftUp(d, pad);
        e -= pad;
    }
    return make(false, sqrtNat(d), e / 2);
}

CalcNumber CalcNumber::reciprocal() const
{
    return fromInt(1) / *this;
}

CalcNumber CalcNumber::scaled(int power) const
{
    if (hasError() || isZero())
        return *this;
    return make(m_negative, m_digits, m_exponent + power);
}

bool CalcNumber::operator==(const CalcNumber& other) const
{
    return m_error == other.m_error && m_negative == other.m_negative &&
           m_exponent == other.m_exponent && m_digits == other.m_digits;
}

} // namespace lumo
