// The version of the card and of Orvex.dll, one number for both. The build
// reads it from here too (archive names, the SDK's package version).
#pragma once

#define FROSTVALE_VERSION_MAJOR 1
#define FROSTVALE_VERSION_MINOR 0
#define FROSTVALE_VERSION_PATCH 1
#define FROSTVALE_VERSION_BUILD 1
#define FROSTVALE_VERSION_TEXT "1.0.1.1"
