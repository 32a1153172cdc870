#pragma once
// Highlighting of Basic source for the export preview: Scintilla's own "vb"
// lexer, which QScintilla ships without a lexer class, with the colours of
// this program.
#include <Qsci/qscilexer.h>

class TBasicLexer : public QsciLexer {
    Q_OBJECT
public:
    // The lexer's styles (Scintilla's numbering for "vb").
    enum {
        Default = 0,
        Comment = 1,
        Number = 2,
        Keyword = 3,
        String = 4,
        Preprocessor = 5,
        Operator = 6,
        Identifier = 7,
        Date = 8,
        UnclosedString = 9,
        Keyword2 = 10,
        Keyword3 = 11,
        Keyword4 = 12,
        Constant = 13,
        Asm = 14,
        Label = 15,
        Error = 16,
        HexNumber = 17,
        BinNumber = 18,
    };

    explicit TBasicLexer(QObject* Parent = nullptr);

    const char* language() const override;
    const char* lexer() const override;
    QString description(int Style) const override;
    QColor defaultColor(int Style) const override;
    QFont defaultFont(int Style) const override;
    // Set 1: the words of Basic and of the generated modules, lower case (the
    // lexer compares without case).
    const char* keywords(int Set) const override;
    bool caseSensitive() const override { return false; }
};
