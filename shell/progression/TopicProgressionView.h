#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <string_view>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace zm {

class CircleDrawerView;

// Told when the player picked the other difficulty in the progression widget; the choice is already
// stored.
class TopicProgressionDelegate {
public:
    virtual ~TopicProgressionDelegate() = default;
    virtual void difficultyChanged() = 0;
};

// The bottom bar of the topic playground screen: "Novice" with a dot per problem the novice difficulty
// needs, "Master" with the master difficulty's dots, then the new-problem button, centred as one line.
// The difficulty being played shows at full opacity, the other dimmed; tapping a difficulty's word or
// dots switches the topic to it. The progress is read from the progress store whenever the widget
// updates.
//
// Its labels, rows and button come from the screen's interface file; the screen gives it the topic, the
// delegate and its width, and says whether the problem being played will count when solved.
//
// Main thread only.
class TopicProgressionView : public ui::View {
public:
    static std::shared_ptr<TopicProgressionView> create(const core::Rect& frame = {});

    void connectOutlets(ui::Outlets& outlets) override;
    // Titles the two labels.
    void awakeFromNib() override;

    const std::string& topicID() const { return m_topicID; }
    // Shows the topic's progress.
    void setTopicID(std::string topicID);
    // Whether the problem being played counts when solved; its dot shows as a ring meanwhile.
    bool inProgress() const { return m_inProgress; }
    void setInProgress(bool inProgress);
    std::shared_ptr<TopicProgressionDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TopicProgressionDelegate> delegate) { m_delegate = std::move(delegate); }

    // Shows the stored difficulty and counts; a count one above the row's plays its fill animation.
    void updateViews();
    // Shows one difficulty as the one played, and selects it in the progress store (telling the
    // delegate) when it is not selected yet.
    void highlightNovice();
    void highlightMaster();
    // Lays the widget out `width` wide: labels as wide as their text (at most 70 points), rows as wide as
    // they ask, and everything centred as one line.
    void organizeBottom(float width);

    // A tap on a difficulty's word or dots switches to it.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;

    std::shared_ptr<ui::Label> noviceLabel() const { return m_noviceLabel.lock(); }
    std::shared_ptr<ui::Label> masterLabel() const { return m_masterLabel.lock(); }
    std::shared_ptr<CircleDrawerView> noviceCirclesView() const { return m_noviceCirclesView.lock(); }
    std::shared_ptr<CircleDrawerView> masterCirclesView() const { return m_masterCirclesView.lock(); }
    std::shared_ptr<ui::Button> problemsButton() const { return m_problemsButton.lock(); }

protected:
    explicit TopicProgressionView(const core::Rect& frame);

private:
    // One difficulty's word and dots.
    struct Side {
        std::shared_ptr<ui::Label> label;
        std::shared_ptr<CircleDrawerView> circles;
    };
    Side novice() const { return {noviceLabel(), noviceCirclesView()}; }
    Side master() const { return {masterLabel(), masterCirclesView()}; }
    void highlight(std::string_view difficulty, const Side& selected, const Side& dimmed);
    // From the left edge of the side's word to the right edge of its dots, the widget's full height.
    core::Rect band(const Side& side) const;

    std::string m_topicID;
    bool m_inProgress = false;
    std::weak_ptr<TopicProgressionDelegate> m_delegate;
    // Subviews of the widget, from the interface file.
    std::weak_ptr<ui::Label> m_noviceLabel;
    std::weak_ptr<ui::Label> m_masterLabel;
    std::weak_ptr<CircleDrawerView> m_noviceCirclesView;
    std::weak_ptr<CircleDrawerView> m_masterCirclesView;
    std::weak_ptr<ui::Button> m_problemsButton;
};

} // namespace zm
