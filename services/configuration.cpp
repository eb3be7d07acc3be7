#include "services/configuration.h"

#include "services/translation.h"
#include "services/utilitaires.h"

#include "platform/qt/ecriture_sure.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fstream>

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

const std::vector<ConfigurationDeFonte> &ConfigurationT3::TableDesCharsets()
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

ConfigurationT3::ConfigurationT3(QString dossier) : dossier_(std::move(dossier))
{
    // Virtual calls from the constructor reach this class's own versions, as intended.
    ConfigurationT3::Init();
}

std::string ConfigurationT3::FileName() const { return "talmer3.conf"; }
QString ConfigurationT3::DossierParDefaut()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString ConfigurationT3::Chemin() const
{
    const QString nom = QFile::decodeName(FileName().c_str());
    return dossier_.isEmpty() ? nom : QDir(dossier_).filePath(nom);
}

std::string ConfigurationT3::KeyNumart() const { return "numart"; }
std::string ConfigurationT3::KeyCharset() const { return "charset"; }
std::string ConfigurationT3::KeyLangue() const { return "langue"; }

EntreesDeFichierIni ConfigurationT3::ReadFile() const
{
    EntreesDeFichierIni entrees;
    std::ifstream in(QFile::encodeName(Chemin()).toStdString(), std::ios::binary);
    if (!in)
        return entrees;
    std::string ligne;
    while (std::getline(in, ligne)) {
        if (!ligne.empty() && ligne.back() == '\r')
            ligne.pop_back();
        std::vector<std::string> jetons;
        DecoupeChaine(ligne, "=", jetons);
        if (jetons.size() >= 2 && !jetons[0].empty() && !jetons[1].empty())
            entrees[jetons[0]] = jetons[1];
    }
    return entrees;
}

void ConfigurationT3::Load()
{
    const EntreesDeFichierIni entrees = ReadFile();

    numart_ = NumartParDefaut;
    if (auto it = entrees.find(KeyNumart()); it != entrees.end()) {
        // The segmenter sizes its tables from this value: anything that is not a usable
        // capacity keeps the default.
        const std::int32_t n = EntierLitteralC(it->second);
        if (NumartValide(n))
            numart_ = n;
    }

    // The options dialog saves the chosen character set: take it back, within the table.
    std::int32_t index = 0;
    if (auto it = entrees.find(KeyCharset()); it != entrees.end()) {
        const std::int32_t i = EntierLitteralC(it->second);
        if (i >= 0 && i < NbCharsets)
            index = i;
    }
    SetCharsetIndex(index);
}

void ConfigurationT3::Init()
{
    if (FichierExiste(Chemin())) {
        Load();
    } else {
        numart_ = NumartParDefaut;
        SetCharsetIndex(0);
    }
}

bool ConfigurationT3::Save(QString *erreur) const
{
    const std::string contenu = KeyNumart() + "=" + std::to_string(numart_) + "\r\n" + KeyCharset() + "=" +
                                std::to_string(charsetIndex_) + "\r\n";
    const QString nom = Chemin();
    QString raison;
    bool ok = dossier_.isEmpty() || QDir().mkpath(dossier_);
    if (!ok)
        raison = Traduit("le dossier ne peut pas être créé");
    else
        ok = talmer::EcritFichierSur(nom, QByteArray::fromStdString(contenu), &raison);
    if (!ok && erreur)
        *erreur = Traduit("Impossible d'enregistrer la configuration dans « %1 » : %2").arg(nom, raison);
    return ok;
}

void ConfigurationT3::SetCharsetIndex(std::int32_t index)
{
    if (index < 0 || index >= NbCharsets)
        index = 0;
    if (table_.empty())
        table_ = TableDesCharsets();
    charsetIndex_ = index;
    SetCharset(table_[static_cast<std::size_t>(index)]);
}

std::vector<ConfigurationDeFonte> ConfigurationT3::GetCharsetTable()
{
    if (table_.empty())
        table_ = TableDesCharsets();
    return table_;
}

namespace {
ConfigurationT3 *configurationProgramme = nullptr;
}

ConfigurationT3 *ConfigurationProgramme() { return configurationProgramme; }
void FixeConfigurationProgramme(ConfigurationT3 *config) { configurationProgramme = config; }

ConfigurationDeFonte JeuDAffichage()
{
    if (configurationProgramme)
        return configurationProgramme->GetCharset();
    return ConfigurationT3::TableDesCharsets().front();
}
