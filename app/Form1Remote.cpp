#include "Form1Remote.h"

#include "Form1.h"
#include "RemoteServer.h"

void connectPhone(Form1& form1, RemoteServer& server)
{
    RemoteExchange& exchange = server.exchange();
    QObject::connect(&exchange, &RemoteExchange::answerArmed, &form1, &Form1::armHiddenAnswer);
    QObject::connect(&exchange, &RemoteExchange::refusalAsked, &form1, &Form1::refuseForPhone);
    QObject::connect(
        &form1, &Form1::hiddenAnswerDelivered, &exchange, &RemoteExchange::answerDelivered);
    QObject::connect(&form1, &Form1::capturedAnswerReplacedArmed, &exchange,
        &RemoteExchange::armedAnswerReplaced);
    QObject::connect(&form1, &Form1::questionAsked, &exchange,
        [&exchange] { exchange.setPhase(RemoteExchange::Phase::Asked); });
    QObject::connect(&form1, &Form1::phoneWaitChanged, &exchange, [&exchange](bool waiting) {
        exchange.setPhase(waiting ? RemoteExchange::Phase::Waiting : RemoteExchange::Phase::Asked);
    });
    QObject::connect(&form1, &Form1::questionAnswered, &exchange,
        [&exchange] { exchange.setPhase(RemoteExchange::Phase::None); });
    QObject::connect(&form1, &Form1::petitionShown, &server.push(), &PushChannel::show);
    QObject::connect(
        &server.push(), &PushChannel::phonesChanged, &form1, &Form1::setPhonesListening);
}
