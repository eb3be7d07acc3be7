#include "windows/partitions/fabriques_statpart.h"

namespace talmer {

FabriquesStatPart &FabriquesStatistiques()
{
    static FabriquesStatPart fabriques;
    return fabriques;
}

} // namespace talmer
