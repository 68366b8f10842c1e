#include "model/steps/StepCommute.h"
#include "model/steps/StepTranspose.h"
#include "model/testing/Trees.h"
#include "playground/ProximityAlarm.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/ExprViewEquation.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ProximityAlarmTest : public ::testing::Test {
protected:
    std::vector<ProximityAlarm> alarmsOf(Expr& root, const ExprPtr& agent) {
        m_view = stage.show(root);
        m_agentView = m_view->viewWithExpr(agent.get());
        EXPECT_TRUE(m_agentView);
        return ProximityAlarm::getProximityAlarmsForView(*m_agentView, *m_view);
    }
    core::Rect boxOf(const ExprPtr& expr) const { return m_view->viewWithExpr(expr.get())->getHitbox(); }
    core::Rect equalsBox() const {
        return std::static_pointer_cast<ExprViewEquation>(m_view)->opView()->getHitbox();
    }

    static std::shared_ptr<StepCommute> commute(const ProximityAlarm& alarm) {
        return std::dynamic_pointer_cast<StepCommute>(alarm.getStep());
    }
    static std::shared_ptr<StepTranspose> transpose(const ProximityAlarm& alarm) {
        return std::dynamic_pointer_cast<StepTranspose>(alarm.getStep());
    }

    PlaygroundStage stage;
    ExprViewPtr m_view;
    ExprViewPtr m_agentView;
};

TEST_F(ProximityAlarmTest, AMiddleTermGetsItsNeighboursAndBothEnds) {
    auto three = num(3), five = num(5), seven = num(7);
    auto root = sum({three, five, seven});
    const auto alarms = alarmsOf(*root, five);
    ASSERT_EQ(alarms.size(), 4u);
    const core::Rect over3 = boxOf(three);
    EXPECT_EQ(alarms[0].hitbox(),
              (core::Rect{over3.minX() + over3.width() / 8, over3.minY() + over3.height() / 8,
                          over3.width() * 0.75f, over3.height() * 0.75f}));
    EXPECT_EQ(alarms[0].direction().x, -1);
    EXPECT_EQ(commute(alarms[0])->otherExpr(), three);
    EXPECT_EQ(commute(alarms[1])->otherExpr(), seven);
    EXPECT_EQ(alarms[1].direction().x, 1);
    EXPECT_EQ(alarms[2].hitbox(), (core::Rect{over3.minX() - 7, over3.minY(), 5, over3.height()}));
    EXPECT_EQ(alarms[2].direction().x, 1);
    EXPECT_EQ(commute(alarms[2])->otherExpr(), three);
    EXPECT_EQ(alarms[3].hitbox().minX(), boxOf(seven).maxX() + 2);
    EXPECT_EQ(alarms[3].direction().x, -1);
    EXPECT_EQ(commute(alarms[3])->princeExpr(), five);
}

TEST_F(ProximityAlarmTest, ATermBesideTheEqualsSignCanBeCarriedAcross) {
    auto three = num(3), five = num(5);
    auto root = eq(sum({three, five}), num(8));
    const auto alarms = alarmsOf(*root, three);
    ASSERT_EQ(alarms.size(), 2u);
    EXPECT_EQ(commute(alarms[0])->otherExpr(), five);
    EXPECT_EQ(alarms[0].direction().x, 1);
    EXPECT_EQ(alarms[1].hitbox(), (core::Rect{equalsBox().maxX(), 0, 1000, 1000}));
    EXPECT_EQ(alarms[1].direction().x, 1);
    EXPECT_EQ(transpose(alarms[1])->sym(), ArithmeticTypeAdd);
}

TEST_F(ProximityAlarmTest, AFactorOfASideIsCarriedAcrossByDivision) {
    auto two = num(2), x = var("x");
    auto root = eq(prod({two, x}), num(6));
    const auto alarms = alarmsOf(*root, x);
    ASSERT_EQ(alarms.size(), 3u);
    EXPECT_EQ(commute(alarms[0])->otherExpr(), two);
    EXPECT_EQ(alarms[0].direction().x, -1);
    EXPECT_EQ(alarms[1].hitbox().maxX(), boxOf(two).minX() - 2);
    EXPECT_EQ(transpose(alarms[2])->sym(), ArithmeticTypeMultiply);
}

TEST_F(ProximityAlarmTest, ARightSideTermGoesLeftAcross) {
    auto x = var("x"), five = num(5), one = num(1);
    auto root = eq(x, sum({five, one}));
    const auto alarms = alarmsOf(*root, five);
    ASSERT_EQ(alarms.size(), 3u) << "no strip at the end beside =";
    EXPECT_EQ(alarms[0].direction().x, 1);
    EXPECT_EQ(alarms[1].hitbox().minX(), boxOf(one).maxX() + 2);
    EXPECT_EQ(alarms[2].hitbox(), (core::Rect{-1000, 0, equalsBox().minX() + 1000, 1000}));
    EXPECT_EQ(alarms[2].direction().x, -1);
}

TEST_F(ProximityAlarmTest, FractionsSingleTermsZerosAndDeepTermsFollowTheTable) {
    {
        auto numerator = var("x"), denominator = num(3);
        auto root = eq(quot(numerator, denominator), num(6));
        EXPECT_TRUE(alarmsOf(*root, numerator).empty());
        const auto alarms = alarmsOf(*root, denominator);
        ASSERT_EQ(alarms.size(), 1u);
        EXPECT_EQ(transpose(alarms[0])->sym(), ArithmeticTypeDivide);
    }
    {
        auto x = var("x");
        auto root = eq(x, num(5));
        const auto alarms = alarmsOf(*root, x);
        ASSERT_EQ(alarms.size(), 1u);
        EXPECT_EQ(transpose(alarms[0])->sym(), ArithmeticTypeAdd);
    }
    {
        auto zero = num(0), x = var("x");
        auto root = eq(sum({zero, x}), num(5));
        const auto alarms = alarmsOf(*root, zero);
        ASSERT_EQ(alarms.size(), 1u);
        EXPECT_TRUE(commute(alarms[0]));
    }
    {
        auto x = var("x"), one = num(1);
        auto root = eq(prod({num(2), sum({x, one})}), num(6));
        const auto alarms = alarmsOf(*root, x);
        ASSERT_FALSE(alarms.empty());
        for (const ProximityAlarm& alarm : alarms)
            EXPECT_TRUE(commute(alarm));
    }
}

TEST(ProximityAlarm, ADirectionlessAlarmFiresWhicheverWayAndAnotherOnlyOneWay) {
    const ProximityAlarm any({0, 0, 10, 10}, {0, 0}, nullptr);
    const ProximityAlarm rightwards({0, 0, 10, 10}, {1, 0}, nullptr);
    const core::Rect touching{5, 5, 10, 10};
    const core::Rect away{20, 20, 5, 5};
    for (float dir : {-1.0f, 0.0f, 1.0f})
        EXPECT_TRUE(any.detectHitWithRect(touching, {dir, 0}));
    EXPECT_TRUE(rightwards.detectHitWithRect(touching, {1, 0}));
    EXPECT_FALSE(rightwards.detectHitWithRect(touching, {-1, 0}));
    EXPECT_FALSE(rightwards.detectHitWithRect(touching, {0, 0}));
    EXPECT_FALSE(any.detectHitWithRect(away, {1, 0}));
    const ProximityAlarm nowhere(core::Rect::null(), {0, 0}, nullptr);
    EXPECT_FALSE(nowhere.detectHitWithRect(touching, {0, 0}));
}

} // namespace
} // namespace zm
