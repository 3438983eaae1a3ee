#include <QGuiApplication>
#include <QDebug>
#include "Engine.h"
using namespace reports;
int main(int c, char**v){ QGuiApplication a(c,v);
 for (bool b : {true,false}) for (int pt : {8,9,10,16}) { const ReportFace &f = reportFace(pt,b); QFontMetricsF fm(f.font());
 for (QString s : {"fi","fl","ff","ffi","ffl","Th","ft","Office","İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler", "LT", "AV", "To"}) { double sum=0; for (QChar ch : s) sum += fm.horizontalAdvance(ch); if (sum != fm.horizontalAdvance(s)) qDebug() << pt << b << s << sum << fm.horizontalAdvance(s); } }
 qDebug() << "ok";
}
