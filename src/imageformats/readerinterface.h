#pragma once

// What the program's own image plugins answer and are told through
// QImageReader beyond Qt's own options, so that readers need not know the
// plugins' classes.

// Why a plugin refuses a file it recognises, when the reason is not damage:
// QImageReader::text() under these keys, which hold no space (Qt reads a key
// with a space as free description text).
namespace RefusalText {
// "PQ" or "HLG": the HEIF or AVIF picture holds HDR light levels.
inline constexpr char hdrTransfer[] = "HdrTransfer";
// "yes": the JPEG XL picture keeps a CMYK black apart.
inline constexpr char blackChannel[] = "BlackChannel";
} // namespace RefusalText

// A HEIF or AVIF file that announces an image sequence answers
// supportsAnimation(); the plugin itself reads only its still pictures.

// How a camera RAW file is developed travels with the device the reader reads,
// as its property rawDevelopmentProperty, so that the header's size is that of
// the picture read. Without it, the whole sensor is developed.
enum class RawDevelopment { FullSize = 0, HalfSize = 1, EmbeddedPreview = 2 };
inline constexpr char rawDevelopmentProperty[] = "rawDevelopment";
