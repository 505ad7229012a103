#include "jxldecoding.h"

#include "encoderthreads.h"

#include <QPointF>

#include <jxl/thread_parallel_runner.h>

namespace {

QColorSpace iccColorSpace(const JxlDecoder *decoder, JxlColorProfileTarget target)
{
    size_t size = 0;
    if (JxlDecoderGetICCProfileSize(decoder, nullptr, target, &size) != JXL_DEC_SUCCESS || size == 0)
        return {};
    QByteArray icc(qsizetype(size), Qt::Uninitialized);
    if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, target, reinterpret_cast<uint8_t *>(icc.data()), size)
        != JXL_DEC_SUCCESS)
        return {};
    return QColorSpace::fromIccProfile(icc);
}

QColorSpace linearRec2020()
{
    return QColorSpace(QPointF(0.3127, 0.3290), QPointF(0.708, 0.292), QPointF(0.170, 0.797),
                       QPointF(0.131, 0.046), QColorSpace::TransferFunction::Linear);
}

} // namespace

JxlRunnerPtr makeJxlRunner()
{
    const int threads = codecThreadCount();
    return JxlRunnerPtr(JxlThreadParallelRunnerCreate(
        nullptr, threads > 0 ? size_t(threads) : JxlThreadParallelRunnerDefaultNumWorkerThreads()));
}

void JxlRunnerDeleter::operator()(void *runner) const
{
    JxlThreadParallelRunnerDestroy(runner);
}

JxlDecoding::JxlDecoding(const QByteArray &data, int events, bool keepOrientation)
    // Threads only speed up pixels; reading headers starts none.
    : m_runner(events & JXL_DEC_FULL_IMAGE ? makeJxlRunner() : nullptr), m_decoder(JxlDecoderCreate(nullptr))
{
    if (!m_decoder || ((events & JXL_DEC_FULL_IMAGE) && !m_runner)
        || (m_runner
            && JxlDecoderSetParallelRunner(m_decoder.get(), JxlThreadParallelRunner, m_runner.get()) != JXL_DEC_SUCCESS)
        || JxlDecoderSubscribeEvents(m_decoder.get(), events) != JXL_DEC_SUCCESS
        || JxlDecoderSetKeepOrientation(m_decoder.get(), keepOrientation ? JXL_TRUE : JXL_FALSE) != JXL_DEC_SUCCESS
        || JxlDecoderSetUnpremultiplyAlpha(m_decoder.get(), JXL_TRUE) != JXL_DEC_SUCCESS
        || JxlDecoderSetInput(m_decoder.get(), reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()))
               != JXL_DEC_SUCCESS) {
        m_decoder.reset();
        return;
    }
    JxlDecoderCloseInput(m_decoder.get());
}

bool JxlDecoding::chooseColours(bool usesOriginalProfile, bool grey)
{
    JxlDecoder *decoder = m_decoder.get();
    const QColorSpace originalSpace = iccColorSpace(decoder, JXL_COLOR_PROFILE_TARGET_ORIGINAL);
    const bool originalIsNamed = JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL,
                                                                    nullptr)
                                 == JXL_DEC_SUCCESS;
    // A lossy file with an arbitrary ICC profile can only come out in a
    // space libjxl names. Linear Rec. 2020 in 16 bits holds every common
    // gamut without clipping; Qt converts to the file's profile afterwards.
    if (!usesOriginalProfile && !originalIsNamed && !grey && originalSpace.isValid()) {
        JxlColorEncoding wide{};
        wide.color_space = JXL_COLOR_SPACE_RGB;
        wide.white_point = JXL_WHITE_POINT_D65;
        wide.primaries = JXL_PRIMARIES_2100;
        wide.transfer_function = JXL_TRANSFER_FUNCTION_LINEAR;
        wide.rendering_intent = JXL_RENDERING_INTENT_RELATIVE;
        if (JxlDecoderSetPreferredColorProfile(decoder, &wide) != JXL_DEC_SUCCESS)
            return false;
        m_decodedSpace = linearRec2020();
        m_fileSpace = originalSpace;
        return true;
    }
    m_decodedSpace = iccColorSpace(decoder, JXL_COLOR_PROFILE_TARGET_DATA);
    return true;
}

void JxlDecoding::applyColours(QImage *image) const
{
    if (m_decodedSpace.isValid())
        image->setColorSpace(m_decodedSpace);
    if (viaWideGamut())
        image->convertToColorSpace(m_fileSpace);
}
