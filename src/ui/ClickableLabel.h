#pragma once
// A caption that answers a click: pressed and released over it with the left
// button. It takes no focus, as a caption does not.

#include <QLabel>

namespace vistrel::ui {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace vistrel::ui
