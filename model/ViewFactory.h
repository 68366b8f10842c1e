#pragma once

#include <memory>

namespace zm {

// Defined by the playground, which builds on the model; the model only hands them through.
class Baggage;
class ExprView;
class IGenericView;

class ExprSoloist;
class ExprEquation;
class ExprQuotient;
class ExprSum;
class ExprProduct;
class OpPlus;
class OpTimes;
class OpDivide;
class OpEquals;
class OpParen;

// Makes the view of each kind of model object. The playground implements it; the model's
// `makeExprViewFromPlaygroundView` and `makeOpViewFromPlaygroundView` dispatch to the maker of the
// receiver's class, so a node class of another subsystem overrides those operations instead.
class ViewFactory {
public:
    virtual ~ViewFactory() = default;

    virtual std::shared_ptr<ExprView> makeExprViewSoloist(const std::shared_ptr<ExprSoloist>& solo,
                                                          Baggage* bag) = 0;
    virtual std::shared_ptr<ExprView> makeExprViewEquation(const std::shared_ptr<ExprEquation>& equation,
                                                           Baggage* bag) = 0;
    virtual std::shared_ptr<ExprView> makeExprViewQuotient(const std::shared_ptr<ExprQuotient>& quotient,
                                                           Baggage* bag) = 0;
    virtual std::shared_ptr<ExprView> makeExprViewSum(const std::shared_ptr<ExprSum>& sum, Baggage* bag) = 0;
    virtual std::shared_ptr<ExprView> makeExprViewProduct(const std::shared_ptr<ExprProduct>& product,
                                                          Baggage* bag) = 0;

    virtual std::shared_ptr<IGenericView> makeOpViewPlus(const std::shared_ptr<OpPlus>& op) = 0;
    virtual std::shared_ptr<IGenericView> makeOpViewTimes(const std::shared_ptr<OpTimes>& op) = 0;
    virtual std::shared_ptr<IGenericView> makeOpViewDivide(const std::shared_ptr<OpDivide>& op) = 0;
    virtual std::shared_ptr<IGenericView> makeOpViewEquals(const std::shared_ptr<OpEquals>& op) = 0;
    virtual std::shared_ptr<IGenericView> makeOpViewParen(const std::shared_ptr<OpParen>& op) = 0;
};

} // namespace zm
