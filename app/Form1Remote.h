#pragma once

class Form1;
class RemoteServer;

// Ties the performer's phone to the stage: answers armed from the page are delivered like
// captured ones, and the page hears back what became of them, what the petition box shows and
// where the delivery is; the oracle waits for the phone only while a phone holds the page open.
void connectPhone(Form1& form1, RemoteServer& server);
