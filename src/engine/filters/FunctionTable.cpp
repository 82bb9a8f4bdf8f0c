#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

const std::vector<FunctionDef>& functionTable() {
    static const std::vector<FunctionDef> table = {
        {"AVISource", "s+[audio]b[pixel_type]s", createAviSource},
        {"WAVSource", "s+", createWavSource},
        {"FFAudioSource", "[source]s[track]i[cache]b[cachefile]s[adjustdelay]i[fill_gaps]i[drc_scale]f[varprefix]s",
         createFFAudioSource},
        {"FFVideoSource",
         "[source]s[track]i[cache]b[cachefile]s[fpsnum]i[fpsden]i[threads]i[timecodes]s[seekmode]i[rffmode]i"
         "[width]i[height]i[resizer]s[colorspace]s[varprefix]s",
         createFFVideoSource},
        {"KillAudio", "c", createKillAudio},
        {"DelayAudio", "cf", createDelayAudio},
        {"Trim", "cii[pad]b[cache]b", createTrim},
        {"Trim", "ci[length]i[pad]b[cache]b", createTrimByLength},
        {"Trim", "ci[end]i[pad]b[cache]b", createTrimByEnd},
        {"Dissolve", "cc+i[fps]f", createDissolve},
        {"AudioDub", "cc", createAudioDub},
        {"FadeIn", "ci[color]i[fps]f", createFadeIn},
        {"FadeIn0", "ci[color]i[fps]f", createFadeIn0},
        {"FadeIn2", "ci[color]i[fps]f", createFadeIn2},
        {"FadeOut", "ci[color]i[fps]f", createFadeOut},
        {"FadeOut0", "ci[color]i[fps]f", createFadeOut0},
        {"FadeOut2", "ci[color]i[fps]f", createFadeOut2},
        {"FadeIO", "ci[color]i[fps]f", createFadeIO},
        {"FadeIO0", "ci[color]i[fps]f", createFadeIO0},
        {"FadeIO2", "ci[color]i[fps]f", createFadeIO2},
        {"BilinearResize", "cii[src_left]f[src_top]f[src_width]f[src_height]f", createBilinearResize},
        {"ConvertToRGB32", "c[matrix]s[interlaced]b[ChromaInPlacement]s[chromaresample]s", createConvertToRGB32},
        {"BlankClip",
         "c*[length]i[width]i[height]i[pixel_type]s[fps]f[fps_denominator]i[audio_rate]i"
         "[stereo]b[sixteen_bit]b[color]i[color_yuv]i[clip]c",
         createBlankClip},
        {"BlankClip",
         "c*[length]i[width]i[height]i[pixel_type]s[fps]f[fps_denominator]i[audio_rate]i"
         "[channels]i[sample_type]s[color]i[color_yuv]i[clip]c",
         createBlankClip},
        {"FrameCount", "c", createFrameCount},
        {"FrameRate", "c", createFrameRate},
        {"ChangeFPS", "ci[denominator]i[linear]b", createChangeFPSByRatio},
        {"ChangeFPS", "cf[linear]b", createChangeFPSByFloat},
        {"ChangeFPS", "cc[linear]b", createChangeFPSLikeClip},
        {"AssumeFPS", "ci[denominator]i[sync_audio]b", createAssumeFPSByRatio},
        {"AssumeFPS", "cf[sync_audio]b", createAssumeFPSByFloat},
        {"AssumeFPS", "cc[sync_audio]b", createAssumeFPSLikeClip},
        {"StackHorizontal", "cc+", createStackHorizontal},
        {"Version", "", createVersion},
        {"AddBorders", "ciiii[color]i", createAddBorders},
        {"Subtitle",
         "cs[x]f[y]f[first_frame]i[last_frame]i[font]s[size]f[text_color]i[halo_color]i[align]i"
         "[spc]i[lsp]i[font_width]f[font_angle]f[interlaced]b[font_filename]s[utf8]b[bold]b"
         "[italic]b[noaa]b",
         createSubtitle},
    };
    return table;
}

const FunctionRegistry& standardFunctions() {
    static const FunctionRegistry registry(functionTable());
    return registry;
}

}  // namespace vistrel::engine
