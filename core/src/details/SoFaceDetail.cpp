#include <Tessara/details/SoFaceDetail.h>

SO_DETAIL_SOURCE(SoFaceDetail, SoDetail)
