#pragma once
// The program's own small XML document model: a tree of elements with
// attributes and text, written as indented CR LF text and read back by a
// forgiving forward-only parser. Names are case-sensitive; files are 8-bit
// Windows-1252 text.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

class TXMLNode;

// Blanks per nesting level in written text.
constexpr int IndentSize = 5;
// Elements nested deeper than this end the parse; no file of ours comes close.
constexpr int MaxXMLDepth = 1000;

QString XMLEscape(const QString& S);
QString XMLUnescape(const QString& S);
// A signed 32-bit decimal: an optional sign and digits, nothing else.
bool TryStrToInt(QStringView S, int& Value);
// S for a one-line message, cut after 20 characters.
QString ShortQuote(QStringView S);
// Level * IndentSize blanks; a negative level gives none.
QString IndentString(int Level);

class TXMLAttribute {
public:
    TXMLAttribute(const QString& AName, const QString& AValue, TXMLNode* ANode);

    QString Name;
    TXMLNode* Node = nullptr; // the owning element, not owned
    QString Value;            // unescaped

    QString GetValue() const { return Value; }
    // Name="escaped value"
    QString AsXML() const;
};

class TXMLNode {
public:
    using TAttributeList = std::vector<std::unique_ptr<TXMLAttribute>>;
    using TNodeList = std::vector<std::unique_ptr<TXMLNode>>;

    // Does not add itself to AParent's children: AddChild and AttachChild do.
    TXMLNode(const QString& AName, const QString& AValue, TXMLNode* AParent);
    virtual ~TXMLNode();
    TXMLNode(const TXMLNode&) = delete;
    TXMLNode& operator=(const TXMLNode&) = delete;

    // Null until the first attribute is added; keeps insertion order.
    std::unique_ptr<TAttributeList> Attributes;
    // A childless element without text is written as <Name/>.
    bool ShortEmptyTag = true;
    // The child found by the last search, and its index (-1 after a miss).
    TXMLNode* Current = nullptr;
    int CurrentIndex = -1;
    QString Name;
    // Null until the first child is added. An existing but empty list still
    // writes start and end tags.
    std::unique_ptr<TNodeList> Children;
    TXMLNode* Parent = nullptr; // not owned; null for the root
    QString Value;              // unescaped

    // Same-named attributes are not replaced: both stay.
    virtual TXMLAttribute* AddAttribute(const QString& AName, const QString& AValue);
    virtual TXMLAttribute* AddIntAttribute(const QString& AName, int AValue);
    virtual TXMLAttribute* AddBoolAttribute(const QString& AName, bool AValue);
    virtual TXMLAttribute* AttachAttribute(std::unique_ptr<TXMLAttribute> A);
    virtual TXMLNode* AddChild(const QString& AName, const QString& AValue);
    virtual TXMLNode* AddBoolChild(const QString& AName, bool AValue);
    virtual TXMLNode* AddIntChild(const QString& AName, int AValue);
    // A null N is returned as it is.
    virtual TXMLNode* AttachChild(std::unique_ptr<TXMLNode> N);
    virtual void DeleteAttribute(const QString& AName);
    // Only for a child of this node; its own children go first, last to first.
    virtual void DeleteChild(TXMLNode* N);
    virtual bool FindFirst(const QString& AName);
    virtual bool FindFirstWithValue(const QString& AName, const QString& AValue);
    // Continues after the last hit; after a miss it starts again at child 0.
    virtual bool FindNext(const QString& AName);
    virtual bool FindNextWithValue(const QString& AName, const QString& AValue);
    // "\FONT\CHARS" for the CHARS child of the root FONT.
    virtual QString GetPath() const;

    int GetLevel() const;
    // The last attribute of that name, or null.
    TXMLAttribute* AttributeByName(const QString& AName) const;
    TXMLAttribute* GetAttribute(int Index) const;
    TXMLNode* GetChild(int Index) const;
    int AttributeCount() const;
    int ChildCount() const;
    // The first child of that name, or null; moves the search position.
    TXMLNode* ChildByName(const QString& AName);
    QString GetValue() const { return Value; }
    void SetValue(const QString& AValue) { Value = AValue; }
    QString ReadAttribute(const QString& AName, const QString& Default) const;
    // A present value that is not a signed 32-bit decimal raises EDotwrightError.
    int ReadIntAttribute(const QString& AName, int Default) const;
    // True exactly for "1" when present.
    bool ReadBoolAttribute(const QString& AName, bool Default) const;
    QString ReadChildValue(const QString& AName, const QString& Default);
    // The element and its subtree; no line end after the last line.
    QString GetXML() const;
    void AppendXML(QString& Out, int Level) const;

private:
    bool Search(int Start, const QString& AName, const QString* AValue);
};

class TXMLDocument {
public:
    TXMLDocument(const QString& AName, const QString& AFileName);
    virtual ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    QString Name; // never written
    QString FileName;
    // The declaration between its angle brackets, question marks included.
    QString Header;
    std::unique_ptr<TXMLNode> Root;
    TXMLNode* CurrentNode = nullptr; // set by SelectPath, not owned
    // How many elements and attributes together a parse reads at most, -1
    // for no limit; a text with more ends its parse there and sets LimitReached.
    qsizetype NodeLimit = -1;
    bool LimitReached = false;

    // Drops the tree; Header stays.
    virtual void Clear();
    // Reads FileName (nothing when it is empty). False with ErrorText when the
    // file cannot be read or is no regular file; the document is then empty.
    virtual bool Load(QString* ErrorText = nullptr);
    // Nothing for an empty S; otherwise a fresh tree from S.
    virtual void LoadFromXML(const QString& S);
    // Adds to Root when there is one, as the text of Lines joined by CR LF.
    virtual void Parse(const QStringList& Lines);
    void ParseText(QStringView Text);
    // Writes GetXML, every line ended by CR LF, as Windows-1252, replacing the
    // file only when all was written. An empty FileName writes nothing and fails.
    [[nodiscard]] virtual bool Save(QString* ErrorText = nullptr);
    // An empty AFileName writes nothing and fails, whatever FileName holds.
    [[nodiscard]] virtual bool SaveToFile(const QString& AFileName, QString* ErrorText = nullptr);
    // A backslash-separated path from the root, e.g. "\FONT\RANGE".
    virtual bool SelectPath(const QString& Path);

    void SetDefaultHeader();
    QString GetHeaderTag() const;
    QString GetXML() const;
    // The exact bytes Save writes.
    QByteArray GetFileBytes() const;
};

// Windows-1252 with a fast path for plain Latin-1 text (the project files are large).
QString DecodeFileText(const QByteArray& Bytes);
