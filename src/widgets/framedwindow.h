#pragma once

#include <QDialog>

class QVBoxLayout;

namespace kvr::gui {

class TitleBar;

// A frameless window with its own title bar above its content. Dialog-based so the same class
// serves windows shown modally and windows shown side by side.
class FramedWindow : public QDialog {
    Q_OBJECT
public:
    explicit FramedWindow(const QString& className, const QString& caption, QWidget* parent = nullptr);

    TitleBar* titleBar() const { return m_titleBar; }
    // The area below the title bar.
    QWidget* body() const { return m_body; }
    void setCaption(const QString& caption);
    QString caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TitleBar* m_titleBar;
    QWidget* m_body;
};

} // namespace kvr::gui
