#include "platform/MessageBox.h"

#include <gtest/gtest.h>

using namespace pembrill;

TEST(MessageBoxTest, LineEscapesLineEndsAndBackslashes) {
    EXPECT_EQ(MessageLine(MessageKind::Error, "Can not open file: \r\r/p/Unit2.pas"),
              "Error: Can not open file: \\r\\r/p/Unit2.pas");
    EXPECT_EQ(MessageLine(MessageKind::Warning, "a\n\r\rb"), "Warning: a\\n\\r\\rb");
    EXPECT_EQ(MessageLine(MessageKind::Information, "C:\\dir"), "Information: C:\\\\dir");
}

TEST(MessageBoxTest, ScopedSinkRecordsAndRestores) {
    RecordingMessageSink outer;
    ScopedMessageSink installOuter(outer);
    {
        RecordingMessageSink inner;
        ScopedMessageSink installInner(inner);
        ShowMessage(MessageKind::Warning, "first");
        EXPECT_EQ(inner.Transcript(), "Warning: first\n");
    }
    ShowMessage(MessageKind::Information, "second");
    EXPECT_EQ(outer.Transcript(), "Information: second\n");
}
