#pragma once

#include "platform/core/NotificationCenter.h"
#include "platform/ui/ViewController.h"

#include <iosfwd>
#include <memory>

namespace ui {
class TextField;
}

namespace zm {

// The progress overlays on trial: a button for every operation, mode and mask of the loading
// overlay and of the status overlay, a stage the loading overlays cover, and a field whose keyboard
// the status overlay rises above. Each operation is written to the log.
class OverlaysScreen : public ui::ViewController {
public:
    static std::shared_ptr<OverlaysScreen> create(std::ostream& log);

protected:
    void viewDidLoad() override;

private:
    explicit OverlaysScreen(std::ostream& log)
        : m_log(log) {}

    void showLoadingOverlay(int mode, bool dimmed, bool zoom);
    void runTask(float graceTime);

    std::ostream& m_log;
    std::shared_ptr<ui::View> m_stage;
    std::shared_ptr<ui::TextField> m_field;
    float m_statusProgress = 0;
    core::NotificationCenter::Observation m_touches;
};

} // namespace zm
