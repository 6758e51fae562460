#pragma once

// What the model of the open device offers, from its group "Drive" + (model index + 1) of Config.ini.

// The receiver indicator meaning: entry 1 of the model's "Adveanced" list is not "-1". A list
// shorter than two entries names no such feature.
bool ModelHasIndicatorMeaning();
bool ModelHasIndicatorMeaning(int modelIndex);
