#include "controls/button/popuppresenter.h"

namespace Lumisong {

PopupPresenter::~PopupPresenter() = default;

} // namespace Lumisong
