#pragma once

#include "model/ViewFactory.h"

namespace zm {

class PlaygroundView;

// Makes the view of each kind of node and operator with the look of one host view. The nodes pick
// the maker of their own class, so a tree builds its view tree by itself.
class ExprViewFactory : public ViewFactory {
public:
    explicit ExprViewFactory(PlaygroundView& playgroundView)
        : m_playgroundView(playgroundView) {}

    std::shared_ptr<ExprView> makeExprViewSoloist(const std::shared_ptr<ExprSoloist>& solo,
                                                  Baggage* bag) override;
    std::shared_ptr<ExprView> makeExprViewEquation(const std::shared_ptr<ExprEquation>& equation,
                                                   Baggage* bag) override;
    std::shared_ptr<ExprView> makeExprViewQuotient(const std::shared_ptr<ExprQuotient>& quotient,
                                                   Baggage* bag) override;
    std::shared_ptr<ExprView> makeExprViewSum(const std::shared_ptr<ExprSum>& sum, Baggage* bag) override;
    std::shared_ptr<ExprView> makeExprViewProduct(const std::shared_ptr<ExprProduct>& product,
                                                  Baggage* bag) override;

    std::shared_ptr<IGenericView> makeOpViewPlus(const std::shared_ptr<OpPlus>& op) override;
    std::shared_ptr<IGenericView> makeOpViewTimes(const std::shared_ptr<OpTimes>& op) override;
    std::shared_ptr<IGenericView> makeOpViewDivide(const std::shared_ptr<OpDivide>& op) override;
    std::shared_ptr<IGenericView> makeOpViewEquals(const std::shared_ptr<OpEquals>& op) override;
    std::shared_ptr<IGenericView> makeOpViewParen(const std::shared_ptr<OpParen>& op) override;

private:
    PlaygroundView& m_playgroundView;
};

} // namespace zm
