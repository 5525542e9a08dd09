#pragma once

#include "forms/FormPicture.h"
#include "output/PageStore.h"

#include <QWidget>

#include <optional>

class QScrollArea;

namespace pembrill {

class PictureView;

// A form drawn as it looked: clicking an object tells its tree item, and the
// object of the item chosen elsewhere is marked as the designer marks the
// selected control.
class FormPictureWindow : public QWidget {
    Q_OBJECT

public:
    explicit FormPictureWindow(QWidget* parent);

    // Shows the form whose top object is `formItem`, marking `item`.
    void ShowForm(const ObjectTree& tree, int formItem, int item);
    // Marks the object of `item`; nothing when it is not of the form shown.
    void MarkItem(int item);
    // Forgets the form: the tree it came from is gone.
    void Clear();
    // The tree item of the form shown; 0 for none.
    int FormItem() const { return ShownForm; }

signals:
    void ItemClicked(int item);

private:
    friend class PictureView;

    void Clicked(QPoint point);

    const ObjectTree* Tree = nullptr;
    int ShownForm = 0;
    FormPicture Picture;
    std::optional<PageStore> Store;
    int Marked = -1;
    QScrollArea* Scroller;
    PictureView* View;
};

} // namespace pembrill
