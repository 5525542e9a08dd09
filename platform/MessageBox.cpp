#include "platform/MessageBox.h"

#include <iostream>

namespace pembrill {

namespace {

StderrMessageSink DefaultSink;
MessageSink* CurrentSink = &DefaultSink;

} // namespace

const char* MessageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return "Warning";
    case MessageKind::Error:
        return "Error";
    case MessageKind::Information:
        return "Information";
    }
    return "";
}

void ShowMessage(MessageKind kind, const std::string& text) {
    CurrentSink->Show(kind, text);
}

void SetMessageSink(MessageSink* sink) {
    CurrentSink = sink ? sink : &DefaultSink;
}

std::string MessageLine(MessageKind kind, const std::string& text) {
    std::string line = MessageCaption(kind);
    line += ": ";
    for (const char c : text) {
        if (c == '\r')
            line += "\\r";
        else if (c == '\n')
            line += "\\n";
        else if (c == '\\')
            line += "\\\\";
        else
            line += c;
    }
    return line;
}

void StderrMessageSink::Show(MessageKind kind, const std::string& text) {
    std::cerr << MessageLine(kind, text) << '\n' << std::flush;
}

void RecordingMessageSink::Show(MessageKind kind, const std::string& text) {
    Messages.emplace_back(kind, text);
}

std::string RecordingMessageSink::Transcript() const {
    std::string transcript;
    for (const auto& [kind, text] : Messages)
        transcript += MessageLine(kind, text) + "\n";
    return transcript;
}

ScopedMessageSink::ScopedMessageSink(MessageSink& sink) : Previous(CurrentSink) {
    CurrentSink = &sink;
}

ScopedMessageSink::~ScopedMessageSink() {
    CurrentSink = Previous;
}

} // namespace pembrill
