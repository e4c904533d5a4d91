#include "Settings.h"

#include "NumberRule.h"
#include "ProfileFile.h"

namespace {

constexpr const char* kSection = "Quorvel";
constexpr qsizetype kBufferSize = 255;

struct Key {
    const char* name;
    const char* fallback;
};
constexpr Key kKeys[]
    = { { "vozvoz", "2" }, { "voztom", "65" }, { "vozvel", "91" }, { "idioma", "0" } };

qint16& target(SettingsValues& v, int i)
{
    return i < 3 ? v.voz[i] : v.idioma;
}

// The value text as a fixed 255-character buffer delivers it: at most 254 characters, counted
// after the blanks and quotes around it are gone.
QByteArray readKey(const ProfileFile& file, const Key& key)
{
    const QByteArray text = file.value(kSection, key.name).value_or(QByteArray(key.fallback));
    return text.left(kBufferSize - 1);
}

}

bool le_ini(SettingsValues& values, const QString& path)
{
    const ProfileFile file = ProfileFile::load(path);
    for (int i = 0; i < 4; ++i) {
        if (const auto n = roundToInt16(parseNumber(readKey(file, kKeys[i]))))
            target(values, i) = *n;
    }
    return file.isReadable();
}

QByteArray formatSetting(qint16 value)
{
    const QByteArray digits = QByteArray::number(value);
    return value < 0 ? digits : ' ' + digits;
}

bool salva_ini(const SettingsValues& values, const QString& path)
{
    ProfileFile file = ProfileFile::load(path);
    for (int i = 0; i < 4; ++i) {
        const qint16 value = i < 3 ? values.voz[i] : values.idioma;
        file.setValue(kSection, kKeys[i].name, formatSetting(value));
    }
    return file.save();
}
