#pragma once

#include "model/steps/ModalPlaygroundFactory.h"

#include <string>
#include <vector>

namespace zm::testing {

// Stands in for the main playground: notes which modal playground a step asked for and answers a
// distinct token for it (never dereferenced), or null for the makers told to decline.
class ModalProbe : public ModalPlaygroundFactory {
public:
    std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<OpTimes>&) override {
        return answer("exponents-times");
    }
    std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<ExprSoloist>&) override {
        return answer("exponents-solo");
    }
    std::shared_ptr<Playground>
    makePlaygroundDistribute(const std::shared_ptr<StepDistribute>& step) override {
        distribute = step;
        return answer("distribute");
    }
    std::shared_ptr<Playground> makePlaygroundFactorizeChoices(const std::shared_ptr<ExprSoloist>&) override {
        return answer("factorize-choices");
    }
    std::shared_ptr<Playground>
    makePlaygroundEuclideanFountain(const std::shared_ptr<ExprEquation>&) override {
        return answer("euclidean-fountain");
    }

    std::vector<std::string> declines; // makers that answer null
    std::vector<std::string> asked;
    std::shared_ptr<StepDistribute> distribute;

private:
    std::shared_ptr<Playground> answer(const std::string& kind) {
        asked.push_back(kind);
        for (const std::string& declined : declines) {
            if (declined == kind)
                return nullptr;
        }
        return std::shared_ptr<Playground>(std::shared_ptr<void>(), reinterpret_cast<Playground*>(&m_token));
    }

    char m_token = 0;
};

} // namespace zm::testing
