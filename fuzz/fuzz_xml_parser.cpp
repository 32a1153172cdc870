// Arbitrary bytes into the XML parser; whatever tree comes out must write and
// read back without fault.
#include "unXMLParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QString Text =
        DecodeFileText(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    TXMLDocument Doc(QStringLiteral("FUZZ"), QString());
    Doc.ParseText(Text);
    const QString Written = Doc.GetXML();
    TXMLDocument Again(QStringLiteral("FUZZ"), QString());
    Again.LoadFromXML(Written);
    (void)Again.SelectPath(QStringLiteral("\\FONT\\CHARS"));
    if (Doc.Root)
        for (int I = 0; I < Doc.Root->ChildCount(); ++I)
            try {
                (void)Doc.Root->GetChild(I)->ReadIntAttribute(QStringLiteral("CODE"), 0);
            } catch (...) {
            }
    return 0;
}
