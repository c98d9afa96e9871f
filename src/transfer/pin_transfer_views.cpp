#include "model/address_maps.h"
#include "transfer/pin_transfer.h"

namespace brixo {

void RefreshAddressAndPinViews(TransferContext& ctx) {
  // The maps live in the core so that they are current whatever the view does with them.
  BuildDccMap(ctx.Model.PinTable, ctx.Maps);
  BuildSerialMap(ctx.Model.PinTable, ctx.Maps);
  BuildXDccMap(ctx.Model.PinTable, ctx.Maps);
  ctx.View.RebuildAddressMaps();
  ctx.View.ShowPin();
  ctx.View.ShowAddressCounts();
}

void RefreshPinViews(TransferContext& ctx) {
  RefreshAddressAndPinViews(ctx);
  ctx.View.ShowOutputConfig();
}

}  // namespace brixo
