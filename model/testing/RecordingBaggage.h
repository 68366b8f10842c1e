#pragma once

#include "model/Expr.h"
#include "model/Operator.h"
#include "model/TransitionRecord.h"

#include <algorithm>
#include <ostream>
#include <set>
#include <vector>

namespace zm::testing {

// One call the model made on a transition record.
struct Record {
    enum class Kind { Position, Condemned, Fail, Agent };

    Kind kind;
    ModelObjectPtr obj;
    ModelObjectPtr other;
    Anchor anchor = AnchorCenter;

    bool operator==(const Record&) const = default;
};

inline Record Position(ModelObjectPtr obj, ModelObjectPtr startAt, Anchor anchor = AnchorCenter) {
    return {Record::Kind::Position, std::move(obj), std::move(startAt), anchor};
}
inline Record Condemned(ModelObjectPtr obj, ModelObjectPtr endAt) {
    return {Record::Kind::Condemned, std::move(obj), std::move(endAt)};
}
inline Record Fail(ModelObjectPtr expr) {
    return {Record::Kind::Fail, std::move(expr), nullptr};
}
inline Record Agent(ModelObjectPtr expr) {
    return {Record::Kind::Agent, std::move(expr), nullptr};
}

inline std::string describeObject(const ModelObjectPtr& object) {
    if (!object)
        return "null";
    if (auto expr = std::dynamic_pointer_cast<Expr>(object))
        return "[" + expr->description() + "]";
    if (auto op = std::dynamic_pointer_cast<Operator>(object))
        return "'" + op->getSymbol() + "'#" + std::to_string(op->opId());
    return "?";
}

inline void PrintTo(const Record& record, std::ostream* out) {
    static const char* const kinds[] = {"Position", "Condemned", "Fail", "Agent"};
    *out << kinds[static_cast<int>(record.kind)] << "(" << describeObject(record.obj);
    if (record.other)
        *out << " @ " << describeObject(record.other);
    if (record.kind == Record::Kind::Position && record.anchor != AnchorCenter)
        *out << " anchor " << record.anchor;
    *out << ")";
}

// A transition record that keeps every call in order, so that tests can compare the exact
// sequence. It answers `hasPositionForObj` from the positions it was given.
class RecordingBaggage : public TransitionRecord {
public:
    using TransitionRecord::addPositionForObj;

    void addPositionForObj(const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj,
                           Anchor anchor) override {
        records.push_back(Position(obj, startAtObj, anchor));
    }
    void addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj) override {
        records.push_back(Condemned(dying, endAtObj));
    }
    void addFailForExpr(const std::shared_ptr<Expr>& expr) override { records.push_back(Fail(expr)); }
    void setAgentExpr(const std::shared_ptr<Expr>& expr) override { records.push_back(Agent(expr)); }
    bool hasPositionForObj(const ModelObject& obj) const override {
        return std::any_of(records.begin(), records.end(), [&](const Record& record) {
            return record.kind == Record::Kind::Position && record.obj.get() == &obj;
        });
    }

    std::vector<Record> records;
};

} // namespace zm::testing
