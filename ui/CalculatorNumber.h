#pragma once
// An exact decimal number for the calculator: up to 20 significant digits
// times a power of ten. Results are rounded half away from zero to 20
// significant digits; nothing passes through binary floating point.
#include <QString>

#include <cstdint>
#include <vector>

namespace lumo
{

class CalcNumber
{
public:
    static constexpr int kDigits = 20;
    // Largest decimal exponent; beyond it a result overflows, below its
    // negative a result becomes zero.
    static constexpr int kMaxExponent = 9999;

    enum class Error { None, DivideByZero, Invalid, Overflow };

    CalcNumber() = default;
    static CalcNumber fromInt(long long value);
    // Plain or exponent notation ("-12.5", "1e-3", "3.2E+7"); false when
    // the text is not a number.
    static bool parse(const QString& text, CalcNumber* out);
    static CalcNumber error(Error kind);

    bool isZero() const { return m_error == Error::None && m_digits.empty(); }
    bool isNegative() const { return m_negative; }
    Error errorKind() const { return m_error; }
    bool hasError() const { return m_error != Error::None; }
    int significantDigits() const { return int(m_digits.size()); }

    // Shortest text: plain notation for magnitudes from 1e-7 below 1e20,
    // otherwise "d.ddde+N".
    QString toString() const;

    CalcNumber negated() const;
    CalcNumber operator+(const CalcNumber& other) const;
    CalcNumber operator-(const CalcNumber& other) const;
    CalcNumber operator*(const CalcNumber& other) const;
    CalcNumber operator/(const CalcNumber& other) const;
    CalcNumber sqrt() const;
    CalcNumber reciprocal() const;
    // The value times 10^power.
    CalcNumber scaled(int power) const;

    bool operator==(const CalcNumber& other) const;
    bool operator!=(const CalcNumber& other) const { return !(*this == other); }

    // Little-endian decimal digits of a natural number.
    using Digits = std::vector<std::int8_t>;

private:
    static CalcNumber make(bool negative, Digits magnitude, long long exponent);

    bool m_negative = false;
    Digits m_digits;          // little-endian, no leading or trailing zeros
    long long m_exponent = 0; // value = digits * 10^exponent
    Error m_error = Error::None;
};

} // namespace lumo
