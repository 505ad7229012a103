#pragma once

// Colour profiles the tests build with Little CMS.

#include <QByteArray>

#include <lcms2.h>

namespace kxtest {

inline QByteArray savedProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    return bytes;
}

// An RGB profile Qt 6.4 cannot parse: the device profile as a CLUT of the
// given points a side to Lab, with no matrix.
inline QByteArray lutProfileOf(cmsHPROFILE device, int points)
{
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(device, TYPE_RGB_16, lab, TYPE_Lab_16, INTENT_PERCEPTUAL, 0);
    cmsStage *table = cmsStageAllocCLut16bit(nullptr, cmsUInt32Number(points), 3, 3, nullptr);
    cmsStageSampleCLut16bit(table, [](const cmsUInt16Number in[], cmsUInt16Number out[], void *transform) {
        cmsDoTransform(transform, in, out, 1);
        return cmsInt32Number(TRUE);
    }, toLab, 0);
    // A lutAtoB table holds its CLUT between curves.
    cmsPipeline *pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    const QByteArray bytes = savedProfile(profile);
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(profile);
    cmsCloseProfile(lab);
    return bytes;
}

} // namespace kxtest
