// "Automatisch ausrichten": the right view is fitted to the left by matched features and
// resampled, the whole-pixel part of the height going into the pair's offset, as one
// undoable edit; a message says what was corrected and how well the views now agree.
#pragma once

namespace duplora {

class CommandRegistry;
struct AlignCommandContext;

void RegisterAutoAlignCommand(CommandRegistry& registry, const AlignCommandContext& context);

}  // namespace duplora
