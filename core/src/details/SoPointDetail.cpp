#include <Tessara/details/SoPointDetail.h>

SO_DETAIL_SOURCE(SoPointDetail, SoDetail)
