#pragma once

#include "platform/MessageBox.h"

namespace pembrill {

// A modal box captioned "Warning", "Error" or "Information" with one OK
// button; each CR, LF or CR LF of the text is a line break.
class GuiMessageSink : public MessageSink {
public:
    void Show(MessageKind kind, const std::string& text) override;
};

} // namespace pembrill
