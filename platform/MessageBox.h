#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pembrill {

enum class MessageKind { Warning, Error, Information };

// "Warning", "Error" or "Information".
const char* MessageCaption(MessageKind kind);

// Where message boxes go: a modal box in the desktop program, stderr in
// pembrill-cli, a record in tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(MessageKind kind, const std::string& text) = 0;
};

// Every message of the program passes through here. The text is shown as
// the program wrote it (bytes; CR and LF inside it are line breaks).
void ShowMessage(MessageKind kind, const std::string& text);

// Installs the sink for ShowMessage; nullptr restores the stderr sink.
void SetMessageSink(MessageSink* sink);

// One line per message: caption, colon, blank, text with CR written as \r,
// LF as \n and a backslash as \\.
std::string MessageLine(MessageKind kind, const std::string& text);

class StderrMessageSink : public MessageSink {
public:
    void Show(MessageKind kind, const std::string& text) override;
};

class RecordingMessageSink : public MessageSink {
public:
    void Show(MessageKind kind, const std::string& text) override;
    // The messages so far as MessageLine gives them, each ended by LF.
    std::string Transcript() const;

    std::vector<std::pair<MessageKind, std::string>> Messages;
};

// Installs a sink for the lifetime of a scope and restores the previous one.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* Previous;
};

} // namespace pembrill
