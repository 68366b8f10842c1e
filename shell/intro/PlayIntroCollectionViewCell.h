#pragma once

#include "shell/intro/AlgebraCell.h"

#include <memory>
#include <string_view>

namespace zm {

class AIExecutor;
class PlaygroundView;

// A slide with two live demonstrations side by side: in each of its two containers a playground with
// an expression that an automatic player works on by a simulated finger, over and over. Each time the
// slide is handed out the demonstrations start afresh on new playgrounds; when the slide goes, they
// stop.
//
// Main thread only.
class PlayIntroCollectionViewCell : public AlgebraCell {
public:
    ~PlayIntroCollectionViewCell() override;

    void connectOutlets(ui::Outlets& outlets) override;

    // Stops the demonstrations and puts a new, empty playground of the left container's size into each
    // container. The slides override it to start their own demonstrations there.
    virtual void animate();
    // Stops both demonstrations.
    void cancelAnimations();

    std::shared_ptr<ui::Label> label() const { return m_label.lock(); }
    const std::shared_ptr<PlaygroundView>& leftPlaygroundView() const { return m_leftPlaygroundView; }
    const std::shared_ptr<PlaygroundView>& rightPlaygroundView() const { return m_rightPlaygroundView; }
    const std::shared_ptr<ui::View>& leftContainerView() const { return m_leftContainerView; }
    const std::shared_ptr<ui::View>& rightContainerView() const { return m_rightContainerView; }

protected:
    PlayIntroCollectionViewCell() = default;

    // A new player on a playground, its finger drawn in the playground's container.
    using PlayerFactory = std::shared_ptr<AIExecutor> (*)(const std::shared_ptr<PlaygroundView>& playground,
                                                          const std::shared_ptr<ui::View>& container);
    template <class Player>
    static std::shared_ptr<AIExecutor> makePlayer(const std::shared_ptr<PlaygroundView>& playground,
                                                  const std::shared_ptr<ui::View>& container);

    // Starts both demonstrations on the fresh playgrounds: each shows its expression, read from its
    // text, and gets a new player that starts at once, the left one first.
    void play(std::string_view leftProblem, PlayerFactory leftPlayer, std::string_view rightProblem,
              PlayerFactory rightPlayer);

private:
    std::weak_ptr<ui::Label> m_label;
    std::shared_ptr<PlaygroundView> m_leftPlaygroundView;
    std::shared_ptr<PlaygroundView> m_rightPlaygroundView;
    std::shared_ptr<ui::View> m_leftContainerView;
    std::shared_ptr<ui::View> m_rightContainerView;
};

// The slide of moves that work: tapping, dragging and drawing lines, named in its heading with the
// three gestures set heavier.
class DemoSuccessCell : public PlayIntroCollectionViewCell {
public:
    static std::shared_ptr<DemoSuccessCell> create();

    // The heading with its marked words heavier: 25 points on a phone, 30 on a tablet.
    void awakeFromNib() override;
    // "3*x" tapped and dragged, "(5*2)/2" cancelled by a drawn line.
    void animate() override;

protected:
    DemoSuccessCell() = default;
};

// The slide of moves the rules refuse.
class DemoFailCell : public PlayIntroCollectionViewCell {
public:
    static std::shared_ptr<DemoFailCell> create();

    // "1+2*3" added against the order of operations, "(5*2)/2" cancelled wrongly.
    void animate() override;

protected:
    DemoFailCell() = default;
};

} // namespace zm
