#include "app/TextbookEngine.h"

#include "skin/controls/acSkinEngine.h"
#ifdef TEXTBOOK_HAVE_TB_MEDIA
#include "media/MediaEngine.h"
#endif

std::vector<TEnginePart> TextbookEngineParts() {
  std::vector<TEnginePart> parts = SkinEngineParts();
#ifdef TEXTBOOK_HAVE_TB_MEDIA
  parts.push_back(MediaEnginePart());
#endif
  return parts;
}
