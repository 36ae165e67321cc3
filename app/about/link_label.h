// A label that works as a link: blue and underlined, purple once it has been followed.
#pragma once

#include <QLabel>

namespace quorvane::about {

/// Emits clicked() when pressed and released with the left button inside it, or activated
/// from the keyboard (Space or Enter while it has the focus).
class LinkLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    /// Turns the label purple, the colour of a visited link, for as long as it lives.
    void markVisited();
    [[nodiscard]] bool visited() const { return m_visited; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setTextColour(const QColor& colour);

    bool m_visited = false;
};

} // namespace quorvane::about
