#include "gui/editor/enterdata.h"

namespace kivo::gui {

TfrmEnterData::TfrmEnterData(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {}

TfrmEnterData::~TfrmEnterData() = default;

void TfrmEnterData::SetAccessLevel(int) {}

} // namespace kivo::gui
