#include "data/SurnameReadings.h"

const SurnameReading SurnameReadings[] = {
    {u'曾', u"zeng"}, {u'单', u"shan"}, {u'沈', u"shen"}, {u'区', u"ou"},   {u'仇', u"qiu"},
    {u'解', u"xie"},  {u'查', u"zha"},  {u'朴', u"piao"}, {u'乐', u"yue"},  {u'尉', u"yu"},
    {u'盖', u"ge"},   {u'缪', u"miao"}, {u'覃', u"qin"},  {u'翟', u"zhai"}, {u'种', u"chong"},
    {u'秘', u"bi"},   {u'繁', u"po"},   {u'万', u"mo"},   {u'员', u"yun"},  {u'黑', u"he"},
    {u'句', u"gou"},  {u'召', u"shao"}, {u'宓', u"fu"},   {u'莘', u"xin"},  {u'洗', u"xian"},
};
const int SurnameReadingCount = int(sizeof(SurnameReadings) / sizeof(SurnameReadings[0]));
