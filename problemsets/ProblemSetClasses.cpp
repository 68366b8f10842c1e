#include "problemsets/ProblemSetClasses.h"

#include "platform/ui/ClassRegistry.h"
#include "problemsets/screens/DeleteableCollectionViewCell.h"
#include "problemsets/screens/MasterListViewController.h"
#include "problemsets/screens/ProblemListViewController.h"

namespace zm {

void registerProblemSetClasses(ui::ClassRegistry& registry) {
    registry.registerClass<DeleteableCollectionViewCell, ui::CollectionViewCell>(
        "DeleteableCollectionViewCell", "CollectionViewCell", [] { return DeleteableCollectionViewCell::create(); });
    registry.registerClass<MasterListViewController, ui::ViewController>(
        std::string(MasterListViewController::kInterfaceName), "ViewController",
        [] { return MasterListViewController::create(); });
    registry.registerClass<ProblemListViewController, MasterListViewController>(
        std::string(ProblemListViewController::kInterfaceName), std::string(MasterListViewController::kInterfaceName),
        [] { return ProblemListViewController::create(); });
}

void installProblemSets() {
    registerProblemSetClasses(ui::ClassRegistry::shared());
}

} // namespace zm
