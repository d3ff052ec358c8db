#pragma once

#include "app/messagepresenter.h"

class QWidget;

namespace kvr::gui {

// QMessageBox with the buttons and icon of the message's kind.
class QtMessagePresenter final : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    core::Button show(const core::Message& message) override;

private:
    QWidget* m_parent;
};

} // namespace kvr::gui
