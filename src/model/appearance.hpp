#pragma once

// How the application should look, from the snapshot's appearanceMode.
enum class LiveTranslationAppearance { system, light, dark };

// The colour scheme the panel is drawn in.
enum class LiveTranslationColorScheme { light, dark };
