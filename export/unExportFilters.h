#pragma once
// The export filters: a range of characters of a font turned into source text
// for graphic-LCD libraries. They read pixels through a bare TPixelBuffer and
// know nothing of dialogs or files.
//
// Execute returns the whole text: every line followed by CR LF, the last one
// too, no byte-order mark. Each character is one 8-bit code; the caller writes
// the text with ToWin1252. A failure (no language set, a code without a
// character, a table too large) raises EDotwrightError and returns no text.
#include "CharClasses.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class TPixelBuffer;

class TSwordfishBasicFilter {
public:
    // AName with surrounding blanks removed empty: the font's own name is used;
    // otherwise AName as typed, blanks included. The font is borrowed, never changed.
    TSwordfishBasicFilter(const TGLCDFont* AFont, bool AProportional, int AFirst, int ALast,
                          const QString& AName);
    virtual ~TSwordfishBasicFilter() = default;

    bool Proportional = false;
    int FirstChar = 0;
    int LastChar = 0;
    const TGLCDFont* Font = nullptr;
    QString FontName;

    // No font: an empty text.
    [[nodiscard]] virtual QString Execute();

protected:
    // Each writer appends its lines to List; an item may hold CR LF pairs.
    virtual void BeginExport(QStringList& List);
    virtual void ExportFixedFont(QStringList& List);
    virtual void ExportProportionalFont(QStringList& List);

    // Raises for the first code of From..LastChar without a character; each
    // writer calls it before writing, so its range holds at most 256 codes.
    void CheckRange(int From) const;
    // Number of exported characters; a range with FirstChar above LastChar + 1 is empty.
    int ExportCount() const;
    // Loads character Code into Grid; a code without a character raises.
    void LoadChar(TPixelBuffer& Grid, int Code) const;
    // Loads character Code and raises when its size is not the font's: the
    // fixed-width tables read every column of the font's width.
    void LoadFixedSizeChar(TPixelBuffer& Grid, int Code) const;
    // The text of the whole list: every item followed by CR LF.
    static QString ListText(const QStringList& List);
    // The same, built in the first item's own buffer when it has the room:
    // a writer that makes its text one item, reserved, is not copied again.
    static QString ListText(QStringList&& List);
};

class TProtonBasicFilter : public TSwordfishBasicFilter {
public:
    using TSwordfishBasicFilter::TSwordfishBasicFilter;

protected:
    void ExportProportionalFont(QStringList& List) override;
};

class TMikroElektronikaFilter : public TSwordfishBasicFilter {
public:
    using TSwordfishBasicFilter::TSwordfishBasicFilter;

    // 0 not set, 1 mikroBasic, 2 mikroPascal, 3 mikroC.
    std::uint8_t Language = 0;
    // Write the Vornex library table (a width byte per character) instead of
    // the compilers' own GLCD library table.
    bool UseVornexLib = false;

    void SetLanguage(std::uint8_t Value) { Language = Value; }
    [[nodiscard]] QString Execute() override;

protected:
    void ExportProportionalFont(QStringList& List) override;
    void ExportVornexFont(QStringList& List);

private:
    void ExportTable(QStringList& List, bool Vornex);
};

// Breaks Text after the last comma that keeps a piece within MaxCol characters,
// putting BreakText after that comma; commas inside quotes never break.
QString WrapAtBreakChars(const QString& Text, const QString& BreakText, int MaxCol);

// The character of Code as a comment shows it: the 8-bit character itself,
// or a printable name for the control codes below 32 and 127.
QString CommentChar(int Code);
