#include "EspeakEngine.h"
#include "EsperaFala.h"
#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <ctime>
static long long mono(){ timespec t; clock_gettime(CLOCK_MONOTONIC,&t); return t.tv_sec*1000000000LL+t.tv_nsec; }
int main(int argc, char** argv){
  QCoreApplication app(argc, argv);
  EspeakEngine e; e.select_voice(1); e.set_speed(175); QThread::msleep(300);
  QObject::connect(&e,&SpeechEngine::word_event,&e,[&](int,int pos,int){ std::printf("word %lld %d %lld\n", mono(), pos, (long long)(e.stream().playedFrames()*1000/e.stream().sampleRate())); std::fflush(stdout);});
  for(int i=0;i<4;i++){ QThread::msleep(3500); std::printf("call %lld\n", mono()); std::fflush(stdout); e.speak_text(QString::fromUtf8("Eu sou o Oráculo que tudo vê.")); espera_fala(e);}
}
