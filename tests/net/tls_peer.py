#!/usr/bin/python3
"""TLS peers for the socket and mail tests, on 127.0.0.1, ports picked by the system.

Each --listen NAME:MODE[:CERT:KEY] opens one listener and prints "PORT NAME <n>"; "READY"
follows once all listen. Modes:
  echo     TLS server: echoes every byte; on a line "BYE" it sends close-notify and closes.
  stall    reads the client's first flight and never answers.
  garbage  answers the client's hello with a plain-text SMTP greeting and random bytes.
  halfway  starts a real TLS answer, sends half of it and closes the connection.
  spoil    completes the handshake, then sends a record whose last byte was changed.
Everything each connection sent is appended to <out>/NAME.log. Stops at end of standard
input or when terminated.
"""
import argparse
import asyncio
import os
import signal
import ssl
import sys


def server_context(cert, key):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(cert, key)
    return ctx


class Listener:
    def __init__(self, name, mode, outdir, cert=None, key=None):
        self.name = name
        self.mode = mode
        self.log = os.path.join(outdir, name + ".log")
        self.ctx = server_context(cert, key) if cert else None
        self.held = []

    def record(self, data):
        with open(self.log, "ab") as f:
            f.write(data)

    async def handle(self, reader, writer):
        try:
            await getattr(self, "mode_" + self.mode)(reader, writer)
        except (ConnectionError, ssl.SSLError, asyncio.IncompleteReadError):
            pass
        finally:
            if self.mode != "stall":
                writer.close()

    async def mode_echo(self, reader, writer):
        while True:
            data = await reader.read(65536)
            if not data:
                return
            self.record(data)
            writer.write(data)
            await writer.drain()
            if data.endswith(b"BYE\r\n"):
                return

    async def mode_stall(self, reader, writer):
        self.record(await reader.read(65536))
        self.held.append(writer)   # kept open, never answered

    async def mode_garbage(self, reader, writer):
        self.record(await reader.read(65536))
        writer.write(b"220 mail.corkvane.test ESMTP ready\r\n" + os.urandom(600))
        await writer.drain()
        await reader.read(65536)

    async def mode_halfway(self, reader, writer):
        hello = await reader.read(65536)
        self.record(hello)
        incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = self.ctx.wrap_bio(incoming, outgoing, server_side=True)
        incoming.write(hello)
        try:
            tls.do_handshake()
        except ssl.SSLWantReadError:
            pass
        flight = outgoing.read()
        writer.write(flight[: len(flight) // 2])
        await writer.drain()

    async def mode_spoil(self, reader, writer):
        incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = self.ctx.wrap_bio(incoming, outgoing, server_side=True)
        while True:
            try:
                tls.do_handshake()
                break
            except ssl.SSLWantReadError:
                writer.write(outgoing.read())
                await writer.drain()
                data = await reader.read(65536)
                if not data:
                    return
                incoming.write(data)
        writer.write(outgoing.read())
        tls.write(b"220 spoiled.corkvane.test ESMTP\r\n")
        record = outgoing.read()
        writer.write(record[:-1] + bytes([record[-1] ^ 0x55]))
        await writer.drain()
        self.record(await reader.read(65536))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--listen", action="append", default=[])
    args = parser.parse_args()

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    servers = []
    for entry in args.listen:
        parts = entry.split(":")
        name, mode = parts[0], parts[1]
        cert, key = (parts[2], parts[3]) if len(parts) >= 4 else (None, None)
        listener = Listener(name, mode, args.out, cert, key)
        tls = listener.ctx if mode == "echo" else None
        server = loop.run_until_complete(asyncio.start_server(listener.handle, "127.0.0.1", 0, ssl=tls))
        servers.append(server)
        print("PORT %s %d" % (name, server.sockets[0].getsockname()[1]), flush=True)
    print("READY", flush=True)

    def stdin_ready():
        if not os.read(sys.stdin.fileno(), 4096):
            loop.stop()

    loop.add_reader(sys.stdin.fileno(), stdin_ready)
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    loop.run_forever()
    for server in servers:
        server.close()


if __name__ == "__main__":
    main()
