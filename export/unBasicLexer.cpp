#include "unBasicLexer.h"

#include <QColor>
#include <QFont>

TBasicLexer::TBasicLexer(QObject* Parent) : QsciLexer(Parent) {}

const char* TBasicLexer::language() const { return "Basic"; }

const char* TBasicLexer::lexer() const { return "vb"; }

QString TBasicLexer::description(int Style) const
{
    switch (Style) {
    case Default: return QStringLiteral("Default");
    case Comment: return QStringLiteral("Comment");
    case Number: return QStringLiteral("Number");
    case Keyword: return QStringLiteral("Keyword");
    case String: return QStringLiteral("String");
    case Preprocessor: return QStringLiteral("Preprocessor");
    case Operator: return QStringLiteral("Operator");
    case Identifier: return QStringLiteral("Identifier");
    case Date: return QStringLiteral("Date");
    case UnclosedString: return QStringLiteral("Unclosed string");
    case Keyword2: return QStringLiteral("Keyword 2");
    case Keyword3: return QStringLiteral("Keyword 3");
    case Keyword4: return QStringLiteral("Keyword 4");
    case Constant: return QStringLiteral("Constant");
    case Asm: return QStringLiteral("Inline assembler");
    case Label: return QStringLiteral("Label");
    case Error: return QStringLiteral("Error");
    case HexNumber: return QStringLiteral("Hexadecimal number");
    case BinNumber: return QStringLiteral("Binary number");
    default: return QString();
    }
}

QColor TBasicLexer::defaultColor(int Style) const
{
    switch (Style) {
    case Comment: return QColor(0x00, 0x80, 0x00);
    case Number:
    case HexNumber:
    case BinNumber:
    case Date: return QColor(0x00, 0x00, 0xC0);
    case Keyword:
    case Keyword2:
    case Keyword3:
    case Keyword4: return QColor(0x00, 0x00, 0x80);
    case String:
    case UnclosedString: return QColor(0x80, 0x00, 0x00);
    case Preprocessor: return QColor(0x80, 0x40, 0x00);
    case Constant: return QColor(0x80, 0x00, 0x80);
    case Error: return QColor(0xC0, 0x00, 0x00);
    default: return QColor(0x00, 0x00, 0x00);
    }
}

QFont TBasicLexer::defaultFont(int Style) const
{
    QFont F = QsciLexer::defaultFont(Style);
    if (Style == Keyword)
        F.setBold(true);
    return F;
}

const char* TBasicLexer::keywords(int Set) const
{
    if (Set == 1)
        return "and as boolean byte case const dim do else elseif end exit false for function goto if "
               "implements include integer interface longint longword loop mod module next not or "
               "program return select shl shr step sub symbol then to true until while word xor";
    return nullptr;
}
