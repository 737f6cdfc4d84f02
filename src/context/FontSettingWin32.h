// Conversions between the engine's LogFont and the Win32 LOGFONTA. The two
// have the same fields in the same order; the copy is field by field so that
// neither side depends on the other's padding.
#ifndef QUILLON_APP_FONTSETTINGWIN32_H
#define QUILLON_APP_FONTSETTINGWIN32_H

#include "settings/SettingsText.h"

#include <windows.h>

#include <cstring>

static_assert(LogFont::kFaceSize == LF_FACESIZE);

inline LOGFONTA ToLogFontA(const LogFont& f) {
    LOGFONTA lf{};
    lf.lfHeight = f.lfHeight;
    lf.lfWidth = f.lfWidth;
    lf.lfEscapement = f.lfEscapement;
    lf.lfOrientation = f.lfOrientation;
    lf.lfWeight = f.lfWeight;
    lf.lfItalic = f.lfItalic;
    lf.lfUnderline = f.lfUnderline;
    lf.lfStrikeOut = f.lfStrikeOut;
    lf.lfCharSet = f.lfCharSet;
    lf.lfOutPrecision = f.lfOutPrecision;
    lf.lfClipPrecision = f.lfClipPrecision;
    lf.lfQuality = f.lfQuality;
    lf.lfPitchAndFamily = f.lfPitchAndFamily;
    const std::string_view face = f.FaceName();
    std::memcpy(lf.lfFaceName, face.data(), face.size());
    return lf;
}

inline LogFont FromLogFontA(const LOGFONTA& lf) {
    LogFont f;
    f.lfHeight = lf.lfHeight;
    f.lfWidth = lf.lfWidth;
    f.lfEscapement = lf.lfEscapement;
    f.lfOrientation = lf.lfOrientation;
    f.lfWeight = lf.lfWeight;
    f.lfItalic = lf.lfItalic;
    f.lfUnderline = lf.lfUnderline;
    f.lfStrikeOut = lf.lfStrikeOut;
    f.lfCharSet = lf.lfCharSet;
    f.lfOutPrecision = lf.lfOutPrecision;
    f.lfClipPrecision = lf.lfClipPrecision;
    f.lfQuality = lf.lfQuality;
    f.lfPitchAndFamily = lf.lfPitchAndFamily;
    // A LOGFONTA from outside may lack its terminator; never read past it.
    f.SetFaceName(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
    return f;
}

#endif
