#pragma once

#include "platform/ui/Touch.h"

#include <memory>

namespace ui {

class View;

// Manages one view: makes it when it is first asked for (loadView, then viewDidLoad) and stands behind
// it as its next responder. The base of every screen.
//
// Main thread only.
class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    static std::shared_ptr<ViewController> create();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, made on first use.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(std::shared_ptr<View> view);

    Responder* nextResponder() const override;

protected:
    ViewController();

    // Makes the view; the default is a plain view. An override sets it with setView.
    virtual void loadView();
    virtual void viewDidLoad();

private:
    std::shared_ptr<View> m_view;
};

} // namespace ui
