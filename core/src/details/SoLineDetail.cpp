#include <Tessara/details/SoLineDetail.h>

SO_DETAIL_SOURCE(SoLineDetail, SoDetail)
