#include "TextViewTestSupport.h"

#include "text/Localization.h"

namespace plumeo::test {

EnglishInterface::EnglishInterface()
{
    Localization::setCurrent(AppLanguage::en);
}

EnglishInterface::~EnglishInterface()
{
    Localization::setCurrent(AppLanguage::system);
}

} // namespace plumeo::test
