#pragma once

#include "problemsets/documents/ProblemListDocument.h"
#include "shell/playground/PlaygroundViewController.h"

#include <memory>
#include <string_view>

namespace ui {
class Button;
class Label;
class View;
} // namespace ui

namespace zm {

// Plays the problems of a set one at a time: the arrows step to the previous and next problem (no
// wrap-around), a label shows the position ("3/5"), a button the set's name, and "Topics" zooms out to
// the set's screen. Each problem is played on a copy, with undo and restart; stepping away and back
// starts it afresh. The set itself is never changed.
//
// The topic playground screen without a topic: no generated problems, progress, help or celebration.
// Made from the interface file "ListPlaygroundViewController" ("~ipad" on a tablet).
//
// Main thread only.
class ListPlaygroundViewController : public PlaygroundViewController {
public:
    static constexpr std::string_view kInterfaceName = "ListPlaygroundViewController";

    // The top-right bar of Undo and Restart for titles `undoWidth` and `restartWidth` points wide: the
    // bar's width, and where the restart button starts in it.
    struct TopRightBar {
        float width;
        float restartX;
        float buttonY;
        float buttonHeight;
    };
    static TopRightBar topRightBar(float undoWidth, float restartWidth, bool tablet);

    static std::shared_ptr<ListPlaygroundViewController> spawnFromXib();
    static std::shared_ptr<ListPlaygroundViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    // The base's, then the state.
    void viewDidLoad() override;
    // Nothing: no help opens.
    void viewDidAppear(bool animated) override;
    // Lays out the top-right bar of Undo and Restart, at the right edge.
    void finishViewDidLoad() override;

    // The screen's entry point: plays the set from its first problem.
    void setDocument(std::shared_ptr<ProblemListDocument> document);
    const std::shared_ptr<ProblemListDocument>& document() const { return m_document; }
    // Plays the problem at `index` (the last one for an index past the end).
    void skipToProblemIndex(size_t index);
    size_t problemIndex() const { return m_problemIndex; }
    // Shows the problem at the index, afresh, and sets the arrows and the label.
    void updateState();

    void hitLeft();
    void hitRight();
    // Zooms out to a new screen of the set.
    void hitHome() override;

    std::shared_ptr<ui::View> bottomView() const { return m_bottomView; }
    std::shared_ptr<ui::Button> problemListNameButton() const { return m_problemListNameButton; }
    std::shared_ptr<ui::Button> leftButton() const { return m_leftButton; }
    std::shared_ptr<ui::Button> rightButton() const { return m_rightButton; }
    std::shared_ptr<ui::Label> problemIndexLabel() const { return m_problemIndexLabel; }

protected:
    ListPlaygroundViewController();

private:
    std::shared_ptr<ProblemListDocument> m_document;
    std::shared_ptr<ui::View> m_bottomView;
    std::shared_ptr<ui::Button> m_problemListNameButton;
    std::shared_ptr<ui::Button> m_leftButton;
    std::shared_ptr<ui::Button> m_rightButton;
    std::shared_ptr<ui::Label> m_problemIndexLabel;
    size_t m_problemIndex = 0;
};

} // namespace zm
