#pragma once
// The calculator's keys and what they do, without any window: the dialog
// sends keys here and shows display().
#include "CalculatorNumber.h"

#include <QString>

namespace lumo
{

class Calculator
{
public:
    enum class Op { None, Add, Subtract, Multiply, Divide };

    // Longest entry, in digits.
    static constexpr int kMaxEntryDigits = CalcNumber::kDigits;

    void digit(int d);
    void point();
    void backspace();
    void negate();
    void operation(Op op);
    void equals();
    // With + or − pending the entry becomes that percentage of the first
    // operand; otherwise it is divided by 100.
    void percent();
    void squareRoot();
    void reciprocal();
    void clear();      // C: everything but the memory
    void clearEntry(); // CE: the entry only
    void memoryClear();
    void memoryRecall();
    void memoryStore();
    void memoryAdd();
    // Takes a number as the entry (pasting); false when it is not one.
    bool enterNumber(const QString& text);

    // Sends one key by its text: "0"-"9", ".", "+", "-", "*", "/", "=",
    // "%", "sqrt", "1/x", "+/-", "C", "CE", "BS", "MC", "MR", "MS", "M+".
    // False for an unknown key.
    bool press(const QString& key);

    QString display() const;
    CalcNumber value() const;
    bool hasMemory() const { return !m_memory.isZero(); }
    CalcNumber memory() const { return m_memory; }
    bool hasError() const { return m_current.hasError(); }
    Op pending() const { return m_pending; }

private:
    void commitEntry();
    void setResult(const CalcNumber& n);
    void startIfError();
    static CalcNumber apply(const CalcNumber& a, Op op, const CalcNumber& b);

    CalcNumber m_current;
    CalcNumber m_left;
    CalcNumber m_memory;
    QString m_entry; // digits being typed; empty when not typing
    bool m_typing = false;
    bool m_fresh = false; // an operand was given since the last operator
    Op m_pending = Op::None;
    Op m_lastOp = Op::None; // repeated by "=" again
    CalcNumber m_lastOperand;
};

} // namespace lumo
