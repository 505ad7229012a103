#pragma once

#include <QImage>

#include "conversionsettings.h"

// The per-pixel colour adjustments (contrast, brightness, gamma, sepia,
// inversion) as read once from the options.
struct ChannelAdjustments
{
    int contrast = 0;
    int brightness = 0;
    float gamma = 1.0f; // 0 switches the gamma step off
    bool sepia = false;
    float invertThreshold = 0.0f;
};

ChannelAdjustments channelAdjustments(const ConversionSettings &settings);

// Contrast factor F for an amount k.
float contrastFactor(int contrast);

// Adjusts a Format_RGB32 image in place, one pass over all pixels on the
// calling thread.
void adjustPixels(QImage &image, const ChannelAdjustments &adjustments);
