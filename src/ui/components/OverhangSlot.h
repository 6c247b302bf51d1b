#pragma once

#include <QMargins>
#include <QPointer>
#include <QWidget>

namespace harborlite {

// A place in a layout for a widget that draws past its edges (the soft shadow
// of a raised card): the slot takes the surface's place among its neighbours,
// and the content lies over it grown by `overhang` on every side, as the
// slot's sibling, so the parent's padding holds the shadow instead of
// clipping it and the layout's spacing is measured between surfaces. The
// slot's height for a width is the content's for the grown width less the
// overhang. The slot owns the content and shows it while it is shown itself.
class OverhangSlot : public QWidget {
    Q_OBJECT

public:
    OverhangSlot(QWidget* content, const QMargins& overhang, QWidget* parent = nullptr);
    ~OverhangSlot() override;

    QWidget* content() const { return content_; }
    const QMargins& overhang() const { return overhang_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QPointer<QWidget> content_;
    QMargins overhang_;
};

} // namespace harborlite
