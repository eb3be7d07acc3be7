#include "services/configuration.h"

#include "services/translation.h"
#include "services/utilitaires.h"

#include "platform/qt/ecriture_sure.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fstream>

const std::vector<ConfigurationDeFonte> &ConfigurationT3::TableDesCharsets()
{
    return TableDesJeuxDAffichage();
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
    talmer::EchecEcriture echec;
    bool ok = dossier_.isEmpty() || QDir().mkpath(dossier_);
    if (!ok)
        raison = Traduit("le dossier ne peut pas être créé");
    else if (!talmer::EcritFichierSur(nom, QByteArray::fromStdString(contenu), &echec))
        raison = RaisonEcriture(echec);
    ok = raison.isEmpty();
    if (!ok && erreur)
        *erreur = Traduit("Impossible d'enregistrer la configuration dans «\u00A0%1\u00A0» : %2").arg(nom, raison);
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
void FixeConfigurationProgramme(ConfigurationT3 *config)
{
    configurationProgramme = config;
    // The set chosen in the options is the one shown, as it changes.
    FixeJeuDAffichage(config ? &config->GetCharset() : nullptr);
}
