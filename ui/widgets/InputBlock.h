#pragma once

#include <QObject>

class QWidget;

namespace pembrill {

// Keeps the user's input (keys, shortcuts, mouse, wheel, drops) from one window for
// as long as it lives, while the window still paints and other windows, a
// progress window's Cancel or a message box, take input as ever. Unlike a
// modal window it lets close requests through, so that the window can
// answer them itself.
class InputBlock : public QObject {
public:
    explicit InputBlock(QWidget& window);
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& Window;
};

} // namespace pembrill
