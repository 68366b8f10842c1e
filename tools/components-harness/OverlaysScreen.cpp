#include "tools/components-harness/OverlaysScreen.h"

#include "components/KHProgressHUD/KHProgressHUD.h"
#include "components/LQProgressHUD/LQProgressHUD.h"
#include "platform/core/Semaphore.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "tools/components-harness/ButtonGrid.h"

#include <ostream>

namespace zm {

namespace {

constexpr float kInset = 8;

// The keyboard of the field: a strip of keys that type their digit.
std::shared_ptr<ui::View> makeKeypad(ui::TextField& field, float width) {
    std::vector<ButtonGrid::Item> keys;
    for (char digit = '1'; digit <= '9'; ++digit)
        keys.push_back({std::string(1, digit), [&field, digit] { field.insertText(std::string(1, digit)); }});
    auto pad = ui::View::create({0, 0, width, 110});
    pad->setBackgroundColor(core::Color::rgb255(60, 60, 66));
    pad->addSubview(ButtonGrid::create({kInset, kInset}, std::move(keys), 9, {(width - 2 * kInset) / 9 - 6, 40}));
    return pad;
}

} // namespace

std::shared_ptr<OverlaysScreen> OverlaysScreen::create(std::ostream& log) {
    return std::shared_ptr<OverlaysScreen>(new OverlaysScreen(log));
}

void OverlaysScreen::viewDidLoad() {
    ui::View& root = *view();
    const core::Size screen = ui::Device::current().screenSize();
    const bool phone = !ui::Device::current().isTablet();
    root.setBackgroundColor(core::Color::rgb255(235, 238, 242));

    const auto lq = [this](const char* what, std::function<void()> operation) {
        return ButtonGrid::Item{what, [this, what, operation = std::move(operation)] {
                                    m_log << "status overlay: " << what << "\n";
                                    operation();
                                }};
    };
    std::vector<ButtonGrid::Item> items{
        {"Loading", [this] { showLoadingOverlay(0, false, false); }},
        {"Pie", [this] { showLoadingOverlay(1, false, false); }},
        {"Ring", [this] { showLoadingOverlay(2, false, false); }},
        {"Custom", [this] { showLoadingOverlay(3, false, false); }},
        {"Text", [this] { showLoadingOverlay(4, false, false); }},
        {"Dimmed", [this] { showLoadingOverlay(0, true, false); }},
        {"Zoom", [this] { showLoadingOverlay(0, false, true); }},
        {"Task", [this] { runTask(0); }},
        {"Grace", [this] { runTask(0.5f); }},
        {"Hide",
         [this] {
             m_log << "loading overlay: hid " << KHProgressHUD::hideAllHUDsForView(*m_stage, true) << "\n";
         }},
        lq("Show", [] { LQProgressHUD::show(); }),
        lq("Status", [] { LQProgressHUD::showWithStatus("Working"); }),
        lq("Mask1", [] { LQProgressHUD::showWithStatus("Mask 1", LQProgressHUDMaskType::PassThrough); }),
        lq("Mask2", [] { LQProgressHUD::showWithStatus("Mask 2", LQProgressHUDMaskType::Clear); }),
        lq("Mask3", [] { LQProgressHUD::showWithStatus("Mask 3", LQProgressHUDMaskType::Dimmed); }),
        lq("Mask4", [] { LQProgressHUD::showWithStatus("Mask 4", LQProgressHUDMaskType::Gradient); }),
        lq("Progress",
           [this] {
               m_statusProgress = m_statusProgress >= 1 ? 0 : m_statusProgress + 0.25f;
               LQProgressHUD::showProgress(m_statusProgress, "Uploading");
           }),
        lq("Success", [] { LQProgressHUD::showSuccessWithStatus("Saved"); }),
        lq("Error", [] { LQProgressHUD::showErrorWithStatus("Not saved"); }),
        lq("Pop", [] { LQProgressHUD::popActivity(); }),
        lq("Dismiss", [] { LQProgressHUD::dismiss(); }),
    };
    const int columns = phone ? 7 : 11;
    const float buttonWidth = (screen.width - 2 * kInset - float(columns - 1) * 6) / float(columns);
    auto grid = ButtonGrid::create({kInset, kInset}, std::move(items), columns, {buttonWidth, phone ? 28.0f : 34.0f});
    const float gridBottom = grid->frame().maxY();
    root.addSubview(grid);

    m_field = ui::TextField::create({kInset, gridBottom + kInset, 220, 30});
    m_field->setPlaceholder("Type here");
    m_field->setBackgroundColor(core::Color::white());
    m_field->setInputView(makeKeypad(*m_field, screen.width));
    root.addSubview(m_field);

    const float stageTop = m_field->frame().maxY() + kInset;
    m_stage = ui::View::create({kInset, stageTop, screen.width - 2 * kInset, screen.height - stageTop - kInset});
    m_stage->setBackgroundColor(core::Color::rgb255(200, 220, 240));
    root.addSubview(m_stage);

    // Masks 2 to 4 keep touches from the buttons: a touch on the status overlay dismisses it.
    m_touches = core::NotificationCenter::defaultCenter().addObserver(
        std::string(LQProgressHUDDidReceiveTouchEventNotification), nullptr, [this](const core::Notification&) {
            m_log << "status overlay: touched\n";
            LQProgressHUD::dismiss();
        });
}

void OverlaysScreen::showLoadingOverlay(int mode, bool dimmed, bool zoom) {
    KHProgressHUD::hideHUDForView(*m_stage, false);
    const std::shared_ptr<KHProgressHUD> hud = KHProgressHUD::create(m_stage.get());
    hud->setMode(KHProgressHUDMode(mode));
    hud->setDimBackground(dimmed);
    hud->setAnimationType(zoom ? KHProgressHUDAnimation::Zoom : KHProgressHUDAnimation::Fade);
    hud->setLabelText(mode == 0 ? "Loading Problems" : "Mode " + std::to_string(mode));
    hud->setDetailsLabelText(mode == 4 ? "Details go under the label" : "");
    hud->setProgress(0.35f);
    if (mode == 3) {
        auto custom = ui::Label::create({0, 0, 37, 37});
        custom->setText("\u2605");
        custom->setFont(gfx::Font::boldSystem(30));
        custom->setTextColor(core::Color::white());
        custom->setTextAlignment(gfx::TextAlignment::Center);
        hud->setCustomView(custom);
    }
    m_stage->addSubview(hud);
    hud->show(zoom);
    m_log << "loading overlay: mode " << mode << (dimmed ? ", dimmed" : "") << (zoom ? ", zoom" : "") << "\n";
}

void OverlaysScreen::runTask(float graceTime) {
    KHProgressHUD::hideHUDForView(*m_stage, false);
    const std::shared_ptr<KHProgressHUD> hud = KHProgressHUD::create(m_stage.get());
    hud->setMode(KHProgressHUDMode::Pie);
    hud->setLabelText("Working");
    hud->setGraceTime(graceTime);
    hud->setRemoveFromSuperViewOnHide(true);
    m_stage->addSubview(hud);
    // Ten steps of 0.2 s; with a grace time, a task of 0.2 s that ends unseen.
    const int steps = graceTime > 0 ? 1 : 10;
    hud->showWhileExecuting(
        [hud = std::weak_ptr(hud), steps] {
            core::Semaphore never;
            for (int step = 1; step <= steps; ++step) {
                never.waitFor(core::fromSeconds(0.2));
                if (const auto shown = hud.lock())
                    shown->setProgress(float(step) / float(steps));
            }
        },
        true);
    m_log << "loading overlay: task" << (graceTime > 0 ? " within the grace time" : "") << "\n";
}

} // namespace zm
