// The channel fields as a table: the keys scripts use (channel.N.rx ...), the
// labels and help contexts of the channel edit form, and the columns of the
// channel information grid. Their rules are the channel data model's.
#pragma once

#include <vector>

#include "core/fields/field.h"

namespace vrm {

class RadioImage;
class ModelCatalogue;

// "channel": the record table of all channels.
const FieldTable& ChannelTable();

// The columns of the channel information grid for the current model: the
// number column first, then receive and transmit frequency, decode, encode,
// power, scan add, and repeater mode on the preset-list models.
std::vector<GridColumn> ChannelGridColumns(const EditContext& ctx);

// The help context of a channel edit item (0x31100 + item), and the form's
// own context when no item has the focus.
std::uint32_t ChannelItemHelp(int item);
inline constexpr std::uint32_t kChannelEditHelp = 0x31010;
inline constexpr std::uint32_t kChannelInfoHelp = 0x31000;

// The New defaults' preset channels, written through the channel data model.
// RadioImage::SetPresetChannelWriter takes it.
void WritePresetChannels(RadioImage& image, ModelCatalogue& catalogue);

}  // namespace vrm
