#include "platform/ui/PlatformClasses.h"
#include "platform/ui/ScrollView.h"

namespace ui {

using namespace property;

void registerScrollingClasses(ClassRegistry& registry) {
    registry.registerClass<ScrollView, View>("ScrollView", "View", [] { return ScrollView::create(); });
    registry.registerProperty<ScrollView>("ScrollView", "contentSize", size(&ScrollView::setContentSize));
    registry.registerProperty<ScrollView>("ScrollView", "contentInset", insets(&ScrollView::setContentInset));
    registry.registerProperty<ScrollView>("ScrollView", "scrollEnabled", flag(&ScrollView::setScrollEnabled));
    registry.registerProperty<ScrollView>("ScrollView", "pagingEnabled", flag(&ScrollView::setPagingEnabled));
    registry.registerProperty<ScrollView>("ScrollView", "bounces", flag(&ScrollView::setBounces));
    registry.registerProperty<ScrollView>("ScrollView", "alwaysBounceHorizontal",
                                          flag(&ScrollView::setAlwaysBounceHorizontal));
    registry.registerProperty<ScrollView>("ScrollView", "alwaysBounceVertical",
                                          flag(&ScrollView::setAlwaysBounceVertical));
    registry.registerProperty<ScrollView>("ScrollView", "delaysContentTouches",
                                          flag(&ScrollView::setDelaysContentTouches));
    registry.registerProperty<ScrollView>("ScrollView", "canCancelContentTouches",
                                          flag(&ScrollView::setCanCancelContentTouches));
    registry.registerProperty<ScrollView>("ScrollView", "showsHorizontalScrollIndicator",
                                          flag(&ScrollView::setShowsHorizontalScrollIndicator));
    registry.registerProperty<ScrollView>("ScrollView", "showsVerticalScrollIndicator",
                                          flag(&ScrollView::setShowsVerticalScrollIndicator));
}

} // namespace ui
