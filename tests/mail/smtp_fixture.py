#!/usr/bin/python3
"""Loopback SMTP server for the mail tests.

Listens on 127.0.0.1 on a port the system picks and prints "PORT <n>" on one line once it
accepts connections. AUTH PLAIN and LOGIN are the server's own; CRAM-MD5 is added here and
checks the client's digest with Python's hmac. Each accepted mail N is written to the output
folder as mailN.envelope (JSON: sender, recipients, authenticated login and the mechanism that
authenticated it, greeting name) and
mailN.data (the DATA bytes as received, after the server removed the dot-stuffing); both are on
disk before the server answers 250, so a client that saw the 250 can read them at once.

With --listen NAME:MODE[:CERT:KEY] (repeatable) it opens one listener per option instead,
prints "PORT NAME <n>" for each and "READY" after the last. MODE is plain, starttls (offers
STARTTLS with the certificate) or tls (TLS from the first byte); these listeners take a
password only over TLS, and append every byte they received (decrypted) to NAME.log.

The server stops when its standard input reaches end of file or it is terminated.
"""
import argparse
import asyncio
import hashlib
import hmac
import json
import logging
import os
import secrets
import signal
import ssl
import sys
import warnings

from aiosmtpd.smtp import MISSING, SMTP, AuthResult, LoginPassword


# The server itself still fills the deprecated login_data; its warning is noise here.
warnings.filterwarnings("ignore", message="Session.login_data")


class LongLineSMTP(SMTP):
    # The client sends body lines of up to 1023 characters; the stock limit is 1001 bytes.
    line_length_limit = 4096


class LoggingSMTP(LongLineSMTP):
    log_path = None
    implicit_tls = False

    def connection_made(self, transport):
        super().connection_made(transport)
        if self.implicit_tls and self._tls_protocol is None:
            # TLS from the first byte: the server must count the session as protected.
            self._tls_protocol = transport

    def data_received(self, data):
        with open(self.log_path, "ab") as f:
            f.write(data)
        super().data_received(data)


def tls_context(cert, key):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(cert, key)
    return ctx


def open_listeners(loop, recorder, entries, outdir):
    # Refused handshakes are what these listeners are for: their tracebacks are not news.
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    servers = []
    for entry in entries:
        parts = entry.split(":")
        name, mode = parts[0], parts[1]
        ctx = tls_context(parts[2], parts[3]) if len(parts) >= 4 else None
        cls = type("SMTP_" + name, (LoggingSMTP,), {
            "log_path": os.path.join(outdir, name + ".log"),
            "implicit_tls": mode == "tls",
        })

        def factory(cls=cls, mode=mode, ctx=ctx):
            return cls(recorder, hostname="fixture.corkvane", decode_data=False,
                       authenticator=recorder.authenticate, auth_required=False,
                       auth_require_tls=True, tls_context=ctx if mode == "starttls" else None)

        server = loop.run_until_complete(
            loop.create_server(factory, "127.0.0.1", 0, ssl=ctx if mode == "tls" else None))
        servers.append(server)
        print("PORT %s %d" % (name, server.sockets[0].getsockname()[1]), flush=True)
    print("READY", flush=True)
    return servers


class Recorder:
    def __init__(self, outdir, user, password):
        self.outdir = outdir
        self.user = user
        self.password = password
        self.count = 0

    def authenticate(self, server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == self.user and auth_data.password == self.password)
        if ok:
            session.corkvane_mechanism = mechanism
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    async def auth_CRAM__MD5(self, server, args):
        challenge = ("<%s.%d@fixture.corkvane>" % (secrets.token_hex(6), os.getpid())).encode()
        answer = await server.challenge_auth(challenge)
        if answer is MISSING:
            return AuthResult(success=False)
        login, _, digest = answer.rpartition(b" ")
        expected = hmac.new(self.password, challenge, hashlib.md5).hexdigest().encode()
        ok = login == self.user and hmac.compare_digest(digest, expected)
        if ok:
            server.session.corkvane_mechanism = "CRAM-MD5"
        return AuthResult(success=ok, handled=False, auth_data=LoginPassword(login, b""))

    def _write(self, name, data):
        path = os.path.join(self.outdir, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        auth = session.auth_data
        login = auth.login if isinstance(auth, LoginPassword) else None
        record = {
            "from": envelope.mail_from,
            "rcpt": envelope.rcpt_tos,
            "login": login.decode("latin-1") if isinstance(login, bytes) else None,
            "helo": session.host_name,
            "mechanism": getattr(session, "corkvane_mechanism", None),
        }
        self._write("mail%d.data" % self.count, envelope.original_content)
        self._write("mail%d.envelope" % self.count, json.dumps(record).encode())
        return "250 OK queued as %d" % self.count


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--user", default="corkvane")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--listen", action="append", default=[])
    args = parser.parse_args()

    recorder = Recorder(args.out, args.user.encode("latin-1"), args.password.encode("latin-1"))
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    def factory():
        return LongLineSMTP(recorder, hostname="fixture.corkvane", decode_data=False,
                            authenticator=recorder.authenticate, auth_required=False,
                            auth_require_tls=False)

    if args.listen:
        servers = open_listeners(loop, recorder, args.listen, args.out)
    else:
        servers = [loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))]
        print("PORT %d" % servers[0].sockets[0].getsockname()[1], flush=True)

    def stop(*_):
        loop.stop()

    def stdin_ready():
        if not os.read(sys.stdin.fileno(), 4096):
            stop()

    loop.add_reader(sys.stdin.fileno(), stdin_ready)
    loop.add_signal_handler(signal.SIGTERM, stop)
    loop.run_forever()
    for server in servers:
        server.close()


if __name__ == "__main__":
    main()
