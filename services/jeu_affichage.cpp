#include "services/jeu_affichage.h"

#include <map>

ConfigurationDeFonte::ConfigurationDeFonte(std::uint8_t fontCharset, bool rightToLeft, std::string name,
                                           std::string codePage, std::string direction)
    : fontCharset_(fontCharset), rightToLeft_(rightToLeft ? 1 : 0), name_(std::move(name)),
      codePage_(std::move(codePage)), direction_(std::move(direction))
{
}

std::string ConfigurationDeFonte::GetHtmlCharset() const
{
    // Code pages whose "windows-" name no browser or XML parser knows: their registered names.
    static const std::map<std::string, std::string> enregistres = {
        {"850", "IBM850"}, {"932", "Shift_JIS"}, {"936", "GBK"},
        {"949", "EUC-KR"}, {"950", "Big5"},      {"1361", "Johab"},
    };
    const auto it = enregistres.find(codePage_);
    return it != enregistres.end() ? it->second : "windows-" + codePage_;
}

const std::vector<ConfigurationDeFonte> &TableDesJeuxDAffichage()
{
    // Korean Johab is Windows code page 1361 and Thai is 874: the numbers Windows gives them.
    static const std::vector<ConfigurationDeFonte> table = {
        {0, false, "Ansi(Latin1)", "1252", "LTR"},
        {204, false, "Cyrillique", "1251", "LTR"},
        {161, false, "Grec", "1253", "LTR"},
        {128, false, "Japonais(Shift JIS)", "932", "LTR"},
        {178, true, "Arabe", "1256", "RTL"},
        {177, true, "Hébreu", "1255", "RTL"},
        {186, false, "Baltique", "1257", "LTR"},
        {136, false, "Chinois traditionnel(Big 5)", "950", "LTR"},
        {134, false, "Chinois simplifié(Mainland China)", "936", "LTR"},
        {162, false, "Turc", "1254", "LTR"},
        {163, false, "Vietnamien", "1258", "LTR"},
        {129, false, "Coréen(Wansung)", "949", "LTR"},
        {130, false, "Coréen(Johab)", "1361", "LTR"},
        {222, false, "Thaïlandais", "874", "LTR"},
        {238, false, "Europe centrale", "1250", "LTR"},
        {255, false, "Texte DOS", "850", "LTR"},
    };
    return table;
}

namespace {
const ConfigurationDeFonte *jeuInstalle = nullptr;
}

ConfigurationDeFonte JeuDAffichage()
{
    return jeuInstalle ? *jeuInstalle : TableDesJeuxDAffichage().front();
}

void FixeJeuDAffichage(const ConfigurationDeFonte *jeu)
{
    jeuInstalle = jeu;
}
