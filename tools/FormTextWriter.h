#pragma once

#include "tools/FloatFormatter.h"
#include "tools/FormStream.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace pembrill {

// Turns the object tree of a binary form stream into the text form, laid out
// as Delphi's converter lays it out, lines ended by CR LF:
//
//     object Form1: TForm1
//       Caption = 'Caf'#233
//       Items.Strings = (
//         'One'
//         'Two')
//       object Label1: TLabel [0]
//         Columns = <
//           item [2]
//             Width = 64
//           end>
//       end
//     end
//
// The text goes out as the stream is read; a fault raises FormFormatError,
// and what `out` received by then is to be thrown away.
class FormTextWriter {
public:
    FormTextWriter(FormStream& stream, std::ostream& out) : Stream(stream), Out(out) {}

    // Writes the signature's object and everything nested in it.
    void WriteForm();

private:
    void WriteObject();
    void WriteObjectLine();
    void WriteProperties();
    void WriteProperty();
    void WriteValue();
    void WriteList();
    void WriteCollection();
    void WriteCollectionItem();
    void WriteSet();
    void WriteBinary(std::string_view data);
    template <typename Text> void WriteString(const Text& text);
    template <typename Text> void WriteChunk(const Text& text, size_t begin, size_t end);
    std::u16string ReadWideString();
    std::u16string ReadUtf8String();
    int32_t ReadInteger(const char* what);

    bool EndOfList() const;
    void ReadEndOfList();
    void Indent();
    void Outdent() { --Level; }
    void NewLine();
    void WriteIndent();
    void Write(std::string_view text);
    void FlushIfFull();
    void Flush();

    FormStream& Stream;
    std::ostream& Out;
    FloatFormatter Floats;
    std::string Buffer;
    int Level = 0;
};

} // namespace pembrill
