#pragma once

#include "model/ModelOptions.h"

// The dialog's choices, kept per user in the settings store: one value a
// choice, "1"/"0" for the switches, the number for the page progression.
namespace DialogSettings {

// Overwrites each option whose value can be read; keeps the others.
void load(PreProcessOptions& pre, PostProcessOptions& post);
// Writes all six values; false when the store cannot be written.
bool save(const PreProcessOptions& pre, const PostProcessOptions& post);

} // namespace DialogSettings
