#pragma once

#include <QLabel>
#include <QUrl>

namespace kvr::gui {

// A web or mail address: the pointer turns to a hand while it is more than 5 pixels inside the
// label, and a click there opens the address with the system's handler.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, const QUrl& url, QWidget* parent = nullptr);
    QUrl url() const { return m_url; }
    static constexpr int kInset = 5;

signals:
    void activated(const QUrl& url);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool inside(const QPoint& pos) const;
    QUrl m_url;
};

} // namespace kvr::gui
